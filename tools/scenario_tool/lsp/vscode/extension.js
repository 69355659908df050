// A minimal client for Visual Studio Code: starts `scenario_tool lsp` for the
// line texts (*_linea.txt) and train texts (*-.txt), read as Windows-1252.
const vscode = require('vscode');
const { LanguageClient } = require('vscode-languageclient/node');

let client;

function activate(context) {
  const tool = vscode.workspace.getConfiguration('scenarioTexts').get('toolPath');
  client = new LanguageClient(
    'scenarioTexts',
    'Scenario description texts',
    { command: tool, args: ['lsp'] },
    {
      documentSelector: [
        { scheme: 'file', pattern: '**/*_linea.txt' },
        { scheme: 'file', pattern: '**/*-.txt' },
      ],
    });
  client.start();
  context.subscriptions.push(client);
}

function deactivate() {
  return client ? client.stop() : undefined;
}

module.exports = { activate, deactivate };
