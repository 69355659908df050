// Times save → reloaded page with `scenario_tool view`, in Debian's Chromium:
// from the moment a text is written on disk to the page having taken the new
// data and drawn it (body[data-reloads] counts up), over ten saves that
// alternately add and remove a diagnostic.
//
// node bench/page_reload.mjs NODE_MODULES_PARENT TOOL WORK_DIR
// (NODE_MODULES_PARENT: build/release/browser_tests, where the configure step
// installed playwright-core.)
import { createRequire } from 'node:module';
import { execFileSync, spawn } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';

const [modules, tool, work] = process.argv.slice(2);
const require = createRequire(path.join(path.resolve(modules), 'package.json'));
const { chromium } = require('playwright-core');

fs.rmSync(work, { recursive: true, force: true });
fs.mkdirSync(work, { recursive: true });
const folder = path.join(work, 'shipped');
execFileSync(tool, ['example', folder]);
const lineText = path.join(folder, 'Brisena_Tarvo_linea.txt');
const original = fs.readFileSync(lineText, 'latin1');
const edited = original.replace(/^cartello_indicatore,\s*1150,/m, 'cartello_indicatore,  1175,');
if (edited === original) throw new Error('the shipped line text has no board at 1150 m to move');

const server = spawn(tool, ['view', folder, '--port', String(19500 + (process.pid % 400))]);
let said = '';
server.stdout.on('data', (d) => { said += d; });
server.stderr.on('data', () => {});
const address = await new Promise((resolve, reject) => {
  const timer = setTimeout(() => reject(new Error('view did not start: ' + said)), 10000);
  server.stdout.on('data', () => {
    const found = said.match(/http:\/\/127\.0\.0\.1:\d+\//);
    if (found) { clearTimeout(timer); resolve(found[0]); }
  });
});
const userData = fs.mkdtempSync(path.join(work, 'chromium-'));
const browser = await chromium.launchPersistentContext(userData, {
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  headless: true,
  viewport: { width: 1500, height: 1000 },
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
    '--disable-component-update', '--disable-sync', '--no-first-run'],
});
try {
  const tab = browser.pages()[0] || await browser.newPage();
  await tab.goto(address);
  await tab.waitForSelector('body[data-ready="true"]', { timeout: 10000 });
  // Let the event stream open before the first save.
  await tab.waitForTimeout(500);
  const times = [];
  for (let save = 1; save <= 10; ++save) {
    const started = Date.now();
    fs.writeFileSync(lineText, save % 2 ? edited : original, 'latin1');
    await tab.waitForSelector(`body[data-reloads="${save}"]`, { timeout: 10000 });
    times.push(Date.now() - started);
    // Saves further apart than an author's, so each reload stands alone.
    await tab.waitForTimeout(300);
  }
  const sorted = [...times].sort((a, b) => a - b);
  console.log(`save → reloaded page: median ${sorted[5]} ms, worst ${sorted[9]} ms, best ${sorted[0]} ms ` +
    `(runs ${times.join(', ')} ms)`);
} finally {
  await browser.close();
  server.kill('SIGINT');
  fs.rmSync(userData, { recursive: true, force: true });
}
