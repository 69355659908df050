// Drives Debian's Chromium over the page `scenario_tool draw --html` writes
// for the shipped scenario, and checks what an author sees through the page
// itself: the plan fills its box, every signal and station row is drawn, the
// deepest zoom shows 50 m ticks, a tooltip says what dump says for the same
// cell, and a click names the row's file and line. Screenshots are kept.
//
// node line_page_test.mjs TOOL WORK_DIR ARTIFACT_DIR
// Exit status 77 (CTest's skip) when no Chromium is found.
import { execFileSync, spawn } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';

const [tool, work, artifacts] = process.argv.slice(2);
const chromium = process.env.CHROMIUM || '/usr/bin/chromium';
if (!fs.existsSync(chromium)) {
  console.log(`SKIPPED: no Chromium at ${chromium} (install Debian's chromium, or set CHROMIUM)`);
  process.exit(77);
}
let playwright;
try {
  playwright = await import('playwright-core');
} catch {
  console.log('FAILED: playwright-core is missing: run npm ci in tests/browser');
  process.exit(1);
}

let failures = 0;
function check(ok, what, detail = '') {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}${ok || !detail ? '' : ': ' + detail}`);
  if (!ok) failures += 1;
}
const run = (...args) => execFileSync(tool, args, { encoding: 'utf8' });

fs.rmSync(work, { recursive: true, force: true });
fs.mkdirSync(work, { recursive: true });
fs.mkdirSync(artifacts, { recursive: true });
const folder = path.join(work, 'shipped');
run('example', folder);
const lineText = path.join(folder, 'Brisena_Tarvo_linea.txt');
const trainText = path.join(folder, 'Brisena_Tarvo_47306-.txt');
const pageFile = path.join(work, 'shipped.html');
run('draw', folder, '--html', pageFile);
run('compile', folder, '--out', path.join(folder, 'compiled'));
const cellsFile = path.join(folder, 'compiled', 'Brisena_Tarvo_47306.dat');
const dumpLine = (cell) =>
  run('dump', cellsFile, '--from', String(cell), '--to', String(cell))
    .split('\n').find((l) => l.startsWith(`cell ${cell} (`));

// What the texts hold, counted from the texts themselves.
const rowsOf = (file, keyword) => fs.readFileSync(file, 'latin1').split(/\r?\n/)
  .map((text, i) => ({ text, line: i + 1 }))
  .filter((r) => r.text.trimStart().toLowerCase().startsWith(keyword + ','));
const signalRows = rowsOf(trainText, 'segnale');
const stationRows = rowsOf(trainText, 'stazione');

const userData = fs.mkdtempSync(path.join(work, 'chromium-'));
const browser = await playwright.chromium.launchPersistentContext(userData, {
  executablePath: chromium,
  headless: true,
  viewport: { width: 1500, height: 1000 },
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
    '--disable-component-update', '--disable-sync', '--no-first-run'],
});
try {
  const tab = browser.pages()[0] || await browser.newPage();
  const errors = [];
  tab.on('pageerror', (e) => errors.push(String(e)));
  await tab.goto('file://' + pageFile);
  await tab.waitForSelector('body[data-ready="true"]', { timeout: 10000 });
  const shown = await tab.evaluate(() => ({ ...document.getElementById('bands').dataset,
    fill: document.getElementById('plan').dataset.fill }));
  check(Number(shown.fill) > 0.95, 'the plan fills its box', `fill ${shown.fill}`);
  // The plan's box holds every station's mark, those past the line's end too.
  const plan = await tab.evaluate(() => {
    const c = document.getElementById('plan');
    return { marks: c.dataset.stationMarks || '', w: c.clientWidth, h: Number(c.getAttribute('height')) };
  });
  const marks = plan.marks.split(' ').filter(Boolean).map((m) => m.split(',').map(Number));
  const outside = marks.filter(([x, y]) => !(x >= 0 && x <= plan.w && y >= 0 && y <= plan.h));
  check(marks.length === stationRows.length && outside.length === 0,
    `every station's plan mark lies inside the plan box (${marks.length} marks)`,
    `outside ${plan.w} x ${plan.h}: ${outside.map((m) => m.join(',')).join(' ')}`);
  check(Number(shown.signals) === signalRows.length,
    `the whole line shows every signal row (${signalRows.length})`, `drawn ${shown.signals}`);
  check(Number(shown.stations) === stationRows.length,
    `the whole line shows every station row (${stationRows.length})`, `drawn ${shown.stations}`);
  await tab.screenshot({ path: path.join(artifacts, 'whole_line.png') });

  // The labels the page wrote, as it exposes them: none over another, each
  // inside its band (titles and scales in the margin left of it) and the
  // canvas, and every axis tick with its value.
  const labelsShown = async (where) => {
    const drawn = await tab.evaluate(() => {
      const b = document.getElementById('bands');
      return { labels: JSON.parse(b.dataset.labels || '[]'), bands: JSON.parse(b.dataset.bandBoxes || '{}'),
        ticks: (b.dataset.ticks || '').split(' ').filter(Boolean), w: b.clientWidth, h: Number(b.getAttribute('height')) };
    });
    const { labels, bands } = drawn;
    const name = (l) => `"${l.text}" [${l.left},${l.top} ${l.right},${l.bottom}]`;
    const overlaps = [];
    for (let i = 0; i < labels.length; ++i) {
      for (let j = i + 1; j < labels.length; ++j) {
        const a = labels[i], b = labels[j];
        if (a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom) overlaps.push(name(a) + ' over ' + name(b));
      }
    }
    check(labels.length > 0 && overlaps.length === 0, `${where}: no label over another (${labels.length} labels)`,
      overlaps.slice(0, 6).join('; '));
    const outside = labels.filter((l) => {
      const band = bands[l.band];
      if (!band) return true;
      const across = l.margin ? l.left >= 0 && l.right <= band.left : l.left >= band.left && l.right <= band.right;
      return !(across && l.top >= band.top && l.bottom <= band.bottom && l.right <= drawn.w && l.bottom <= drawn.h);
    });
    check(outside.length === 0, `${where}: every label inside its band and the canvas`,
      outside.slice(0, 6).map((l) => name(l) + ' in ' + l.band).join('; '));
    const axis = labels.filter((l) => l.band === 'axis' && /^\d+(\.\d+)?$/.test(l.text));
    check(axis.length === drawn.ticks.length, `${where}: every axis tick has its value`,
      `${axis.map((l) => l.text).join(' ')} for ${drawn.ticks.length} ticks`);
    return labels;
  };
  const wholeLabels = await labelsShown('the whole line');
  const stopping = await tab.evaluate(() => page.stations.filter((s) => s.fields.stop).map((s) => s.name));
  const named = wholeLabels.filter((l) => l.band === 'stations').map((l) => l.text);
  const unnamed = stopping.filter((s) => !named.some((t) => t === s || t.startsWith(s + ' ')));
  check(unnamed.length === 0, `the whole line names every station where the train stops (${stopping.length})`,
    unnamed.join(', '));
  // A kilometre with a tick just inside its left edge, and the densest 1.5 km of boards.
  await tab.evaluate(() => page.show(19990, 20990));
  await labelsShown('1 km from 19.99 km');
  const boardsAt = await tab.evaluate(() => page.objects.filter((o) => o.kind === 14).map((o) => o.cell * 50));
  const densest = boardsAt.reduce((best, m) => {
    const count = boardsAt.filter((n) => n >= m && n < m + 1500).length;
    return count > best.count ? { m, count } : best;
  }, { m: 0, count: 0 });
  await tab.evaluate((m) => page.show(m - 137, m + 1363), densest.m);
  const boardLabels = await labelsShown(`1.5 km around ${densest.count} boards`);
  check(densest.count >= 3 && boardLabels.filter((l) => l.band === 'marks').length >= 2,
    'the boards\' stretch writes some of their letterings', boardLabels.filter((l) => l.band === 'marks').map((l) => l.text).join(' | '));
  await tab.screenshot({ path: path.join(artifacts, 'boards_stretch.png') });
  await tab.evaluate(() => page.reset());
  await tab.evaluate(() => page.draw());

  // Zoom with the wheel around the first signal until the page zooms no deeper.
  const bands = await tab.$('#bands');
  const box = await bands.boundingBox();
  const signal = await tab.evaluate(() => page.objects.find((o) => o.kind === 1));
  const signalAt = async () => tab.evaluate((c) => page.x(c * 50 + 25), signal.cell);
  const marksY = await tab.evaluate(() => page.bandTop('marks')[0] + 18);
  for (let i = 0; i < 40; ++i) {
    await tab.mouse.move(box.x + await signalAt(), box.y + marksY);
    await tab.mouse.wheel(0, -300);
  }
  const deep = await tab.evaluate(() => ({ ...document.getElementById('bands').dataset }));
  check(Number(deep.tickStep) === 50, 'the deepest zoom shows 50 m ticks', `step ${deep.tickStep}`);
  await labelsShown('the deepest zoom');
  const ticks = deep.ticks.split(' ').map(Number);
  check(ticks.length >= 8 && ticks.every((t, i) => i === 0 || t - ticks[i - 1] === 50),
    'ticks every 50 m across the view', deep.ticks);

  // Hover the signal: its tooltip's first line is dump's line for its cell.
  await tab.mouse.move(box.x + await signalAt(), box.y + marksY);
  const signalTip = (await tab.textContent('#tooltip')).split('\n');
  check(signalTip[0] === dumpLine(signal.cell), `the signal's tooltip says what dump says for cell ${signal.cell}`,
    `${signalTip[0]} | ${dumpLine(signal.cell)}`);
  await tab.screenshot({ path: path.join(artifacts, 'one_cell_tooltip.png') });

  // An empty cell, hovered in the gradient band.
  const plainCell = signal.cell + 2;
  const gradientY = await tab.evaluate(() => page.bandTop('gradient')[0] + 20);
  const plainX = await tab.evaluate((c) => page.x(c * 50 + 25), plainCell);
  await tab.mouse.move(box.x + plainX, box.y + gradientY);
  const plainTip = (await tab.textContent('#tooltip')).split('\n');
  check(plainTip[0] === dumpLine(plainCell), `a plain cell's tooltip says what dump says for cell ${plainCell}`,
    `${plainTip[0]} | ${dumpLine(plainCell)}`);

  // Click the signal: the row and its line in the train text.
  await tab.mouse.move(box.x + await signalAt(), box.y + marksY);
  await tab.mouse.click(box.x + await signalAt(), box.y + marksY);
  const place = await tab.evaluate(() => document.getElementById('row').dataset.place);
  const written = signalRows.find((r) => Number(r.text.split(',')[1]) === signal.row_chainage);
  check(written && place === `Brisena_Tarvo_47306-.txt:${written.line}`,
    'a click names the signal row\'s file and line', `${place} vs line ${written && written.line}`);
  const rowText = await tab.textContent('#row .row-text');
  check(written && rowText === written.text, 'a click shows the row as written', rowText);
  const link = await tab.getAttribute('#row a.place', 'href');
  check(link && link.startsWith('vscode://file/') && link.endsWith(`:${written.line}:1`),
    'the row links to the editor', link);

  // A double-click shows the whole line again.
  await tab.mouse.dblclick(box.x + 400, box.y + 200);
  const reset = await tab.evaluate(() => ({ ...document.getElementById('bands').dataset }));
  check(Number(reset.from) === 0 && Number(reset.signals) === signalRows.length,
    'a double-click shows the whole line again', `from ${reset.from}`);
  check(errors.length === 0, 'the page raised no script error', errors.join('; '));

  // An edited text: the page written again lists the new diagnostic.
  const edited = fs.readFileSync(lineText, 'latin1').replace(/^cartello_indicatore,\s*1150,/m, 'cartello_indicatore,  1175,');
  fs.writeFileSync(lineText, edited, 'latin1');
  try {
    run('draw', folder, '--html', pageFile);
  } catch { /* a warning is no failure; an error gives status 1 and still a page */ }
  await tab.goto('file://' + pageFile);
  await tab.waitForSelector('body[data-ready="true"]', { timeout: 10000 });
  const listed = await tab.$$eval('#diagnostics li', (items) => items.map((i) => i.textContent));
  check(listed.some((d) => d.includes('Brisena_Tarvo_linea.txt:') && d.includes('1175')),
    'the edited text\'s diagnostic is listed', listed.join(' | '));
  await tab.screenshot({ path: path.join(artifacts, 'edited_diagnostic.png') });

  // view: the served page reloads by itself on a save, keeps the zoom and
  // lists the new diagnostic; Ctrl-C (SIGINT) ends the server cleanly.
  if (process.platform !== 'win32') {
    fs.writeFileSync(lineText, edited.replace(/^cartello_indicatore,\s*1175,/m, 'cartello_indicatore,  1150,'), 'latin1');
    const server = spawn(tool, ['view', folder, '--port', String(18500 + (process.pid % 1000))]);
    let said = '';
    server.stdout.on('data', (d) => { said += d; });
    const address = await new Promise((resolve, reject) => {
      const timer = setTimeout(() => reject(new Error('view did not start: ' + said)), 10000);
      server.stdout.on('data', () => {
        const found = said.match(/http:\/\/127\.0\.0\.1:\d+\//);
        if (found) { clearTimeout(timer); resolve(found[0]); }
      });
    });
    try {
      await tab.goto(address);
      await tab.waitForSelector('body[data-ready="true"]', { timeout: 10000 });
      const before = await tab.$$eval('#diagnostics li', (items) => items.length);
      await tab.evaluate(() => page.show(20000, 21000));
      const saved = Date.now();
      fs.writeFileSync(lineText, edited, 'latin1');
      await tab.waitForSelector('body[data-reloads="1"]', { timeout: 10000 });
      console.log(`     reloaded ${Date.now() - saved} ms after the save`);
      const after = await tab.$$eval('#diagnostics li', (items) => items.map((i) => i.textContent));
      check(before === 0 && after.some((d) => d.includes('1175')),
        'view reloads the page with the new diagnostic', after.join(' | '));
      const kept = await tab.evaluate(() => [page.from, page.to]);
      check(kept[0] === 20000 && kept[1] === 21000, 'the reload keeps the zoom', kept.join(' to '));
      await tab.screenshot({ path: path.join(artifacts, 'view_reloaded.png') });
    } finally {
      const ended = new Promise((resolve) => server.on('exit', (code, signal) => resolve([code, signal])));
      server.kill('SIGINT');
      const [code] = await ended;
      check(code === 0 && said.includes('Stopped.'), 'Ctrl-C ends view cleanly', `status ${code}`);
    }
  }

  // The static SVG of the shipped scenario, as Chromium lays out its words:
  // no two of them meet (the tool placed them by its own width estimate, so
  // this checks the estimate too).
  {
    const svgFolder = path.join(work, 'for_svg');
    run('example', svgFolder);
    const svgFile = path.join(work, 'shipped.svg');
    run('draw', svgFolder, '--svg', svgFile);
    const tab = await browser.newPage();
    await tab.goto('file://' + svgFile);
    const boxes = await tab.$$eval('text', (texts) => texts.map((t) => {
      const b = t.getBBox();
      return { text: t.textContent, left: b.x, top: b.y, right: b.x + b.width, bottom: b.y + b.height };
    }));
    const meeting = [];
    for (let i = 0; i < boxes.length; ++i) {
      for (let j = i + 1; j < boxes.length; ++j) {
        const a = boxes[i], b = boxes[j];
        if (a.left < b.right && b.left < a.right && a.top < b.bottom - 0.5 && b.top < a.bottom - 0.5) {
          meeting.push(`"${a.text}" and "${b.text}"`);
        }
      }
    }
    check(boxes.length > 100 && meeting.length === 0,
      `no two of the SVG's ${boxes.length} words meet as Chromium draws them`, meeting.slice(0, 5).join(', '));
    await tab.setViewportSize({ width: 1600, height: 1540 });
    await tab.screenshot({ path: path.join(artifacts, 'svg_whole_line.png') });
    await tab.close();
  }
} finally {
  await browser.close();
  fs.rmSync(userData, { recursive: true, force: true });
}
console.log(failures === 0 ? 'PASSED' : `FAILED: ${failures} checks`);
process.exit(failures === 0 ? 0 : 1);
