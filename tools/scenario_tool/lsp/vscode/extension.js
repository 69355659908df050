// The client for Visual Studio Code: starts `scenario_tool lsp` for the texts
// of the language "scenario-text" (line texts *_linea.txt and train texts
// *-.txt, read as Windows-1252).
const fs = require('fs');
const vscode = require('vscode');
const { LanguageClient } = require('vscode-languageclient/node');
const { serverCommand } = require('./server_command');

let client;

function activate(context) {
  const configured = vscode.workspace.getConfiguration('scenarioTexts').get('toolPath');
  const command = serverCommand(configured, context.extensionPath, process.platform, fs.existsSync);
  client = new LanguageClient(
    'scenarioTexts',
    'Scenario description texts',
    { command, args: ['lsp'] },
    {
      documentSelector: [{ language: 'scenario-text' }],
      // The settings under scenarioTexts reach the server at start and on each change.
      synchronize: { configurationSection: 'scenarioTexts' },
    });
  client.start();
  context.subscriptions.push(client);
}

function deactivate() {
  return client ? client.stop() : undefined;
}

module.exports = { activate, deactivate };
