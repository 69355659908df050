// Which scenario_tool the extension starts: the one the user configured, else
// the one bundled beside the extension (the authors' archive carries it there),
// else scenario_tool on PATH. Kept apart from the editor's API so that it can
// be tested with node alone.
const path = require('path');

function serverCommand(configured, extensionPath, platform, exists) {
  if (configured && configured.trim() !== '') return configured;
  const name = platform === 'win32' ? 'scenario_tool.exe' : 'scenario_tool';
  for (const folder of [extensionPath, path.join(extensionPath, 'bin')]) {
    const bundled = path.join(folder, name);
    if (exists(bundled)) return bundled;
  }
  return name;
}

module.exports = { serverCommand };
