// The extension's start-up: which scenario_tool it starts.
const test = require('node:test');
const assert = require('node:assert');
const path = require('path');
const { serverCommand } = require('../server_command');

const ext = path.join('/', 'ext');
const none = () => false;

test('a configured tool is started as given', () => {
  assert.strictEqual(serverCommand('/opt/tool/scenario_tool', ext, 'linux', () => true),
                     '/opt/tool/scenario_tool');
});

test('the tool bundled beside the extension, by its platform name', () => {
  const bundled = path.join(ext, 'scenario_tool.exe');
  assert.strictEqual(serverCommand('', ext, 'win32', (p) => p === bundled), bundled);
  const inBin = path.join(ext, 'bin', 'scenario_tool');
  assert.strictEqual(serverCommand('  ', ext, 'linux', (p) => p === inBin), inBin);
});

test('with neither, the tool on PATH', () => {
  assert.strictEqual(serverCommand(undefined, ext, 'linux', none), 'scenario_tool');
  assert.strictEqual(serverCommand('', ext, 'win32', none), 'scenario_tool.exe');
});
