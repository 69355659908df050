// Times the line pages that `page_bench --write-pages DIR` wrote, in Debian's
// Chromium: from the start of loading to the page's first frame with its data
// drawn (body[data-ready]), best of five, with each page's size, and the
// page's own count from its navigation's start (without the browser's switch
// from about:blank to a file, which a page cannot shorten).
//
// node bench/page_ready.mjs NODE_MODULES_PARENT PAGE.html...
// (NODE_MODULES_PARENT: build/release/browser_tests, where the configure step
// installed playwright-core.)
import { createRequire } from 'node:module';
import fs from 'node:fs';
import path from 'node:path';
import os from 'node:os';

const [modules, ...pages] = process.argv.slice(2);
const require = createRequire(path.join(path.resolve(modules), 'package.json'));
const { chromium } = require('playwright-core');
const userData = fs.mkdtempSync(path.join(os.tmpdir(), 'page-ready-'));
const browser = await chromium.launchPersistentContext(userData, {
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  headless: true,
  viewport: { width: 1500, height: 1000 },
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
    '--disable-component-update', '--disable-sync', '--no-first-run'],
});
try {
  const tab = browser.pages()[0] || await browser.newPage();
  for (const file of pages) {
    const times = [];
    const inPage = [];  // the page's own count from its navigation's start, where it gives one
    for (let run = 0; run < 5; ++run) {
      await tab.goto('about:blank');
      const started = Date.now();
      await tab.goto('file://' + path.resolve(file));
      await tab.waitForSelector('body[data-ready="true"]', { timeout: 60000 });
      // One more frame, so that what was drawn is on screen.
      await tab.evaluate(() => new Promise((done) => requestAnimationFrame(() => done())));
      times.push(Date.now() - started);
      inPage.push(Number(await tab.evaluate(() => document.body.dataset.readyAt)));
    }
    const size = fs.statSync(file).size;
    console.log(`${path.basename(file)}: ready in ${Math.min(...times)} ms (best of 5; runs ${times.join(', ')} ms), ` +
      `${(size / 1024).toFixed(0)} KiB` +
      (inPage.every(Number.isFinite) ? `; from its navigation's start ${Math.min(...inPage)} ms (runs ${inPage.join(', ')} ms)` : ''));
  }
} finally {
  await browser.close();
  fs.rmSync(userData, { recursive: true, force: true });
}
