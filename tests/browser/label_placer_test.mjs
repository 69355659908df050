// The page's label placement on its own, in node with a canvas stand-in whose
// letters are 6 px wide: labels go by priority and chainage, to their next
// spot or shorter text when the first is taken, move in at the frame only when
// asked, never for a mark out of view, never over a blocked mark, and no two
// written labels ever meet, whatever is offered.
//
// node label_placer_test.mjs LABELS_JS
import assert from 'node:assert/strict';
import fs from 'node:fs';
import test from 'node:test';
import vm from 'node:vm';

const source = fs.readFileSync(process.argv[2], 'utf8');
const context = vm.createContext({ Map, Math });
vm.runInContext(source + '\nthis.LabelPlacer = LabelPlacer;', context);
const { LabelPlacer } = context;
// What the placer returns, as this realm's own arrays and objects.
const plain = (value) => JSON.parse(JSON.stringify(value));

// The rules the tool sends with the page's looks (only the gaps matter here).
const RULES = { label_gap: 4, mark_gap: 1 };

const LETTER = 6;
function canvas() {
  const written = [];
  return {
    written,
    font: '11px sans-serif',
    measureText: (text) => ({ width: text.length * LETTER, fontBoundingBoxAscent: 9, fontBoundingBoxDescent: 3 }),
    fillText(text, x, y) { written.push({ text, x, y, colour: this.fillStyle }); },
  };
}
const AREA = { left: 100, top: 0, right: 500, bottom: 60 };
const label = (text, x, more = {}) => ({
  texts: Array.isArray(text) ? text : [text], colour: 'ink', band: 'stations', area: AREA, mark: x, priority: 0,
  spots: [{ x, y: 50, align: 'left' }], ...more,
});
const place = (...labels) => placeBy(RULES, ...labels);
function placeBy(rules, ...labels) {
  const g = canvas();
  const placer = new LabelPlacer(g, rules);
  for (const l of labels) placer.offer(l);
  const placed = plain(placer.placeAll());
  return { placed, written: g.written.map((w) => w.text) };
}

test('labels go by priority, then by chainage, whatever the order offered', () => {
  const cases = [
    { what: 'a stop before a pass further up the line',
      offered: [label('PASS', 200, { priority: 11, key: 100 }), label('STOP', 210, { priority: 10, key: 900 })],
      written: ['STOP'] },
    { what: 'the nearer of two with one priority',
      offered: [label('FAR', 210, { priority: 10, key: 900 }), label('NEAR', 200, { priority: 10, key: 100 })],
      written: ['NEAR'] },
    { what: 'two apart, both',
      offered: [label('ONE', 200), label('TWO', 300)], written: ['ONE', 'TWO'] },
  ];
  for (const c of cases) assert.deepEqual(place(...c.offered).written, c.written, c.what);
});

test('a label taken at one spot goes to its next, then to a shorter text, else is left out', () => {
  const lanes = [{ x: 200, y: 50, align: 'left' }, { x: 200, y: 30, align: 'left' }];
  const first = label('FIRST', 200, { spots: lanes });
  const second = label('SECOND', 200, { spots: lanes, key: 1 });
  const third = label('THIRD', 200, { spots: lanes, key: 2 });
  const r = place(first, second, third);
  assert.deepEqual(r.written, ['FIRST', 'SECOND']);
  assert.deepEqual(r.placed.map((b) => b.baseline), [50, 30]);

  // The long form where it fits, the short one where only that does.
  const wall = label('WALL', 260);
  const named = place(wall, label(['NAME 12:00:00', 'NAME'], 200, { key: 1 }));
  assert.deepEqual(named.written, ['WALL', 'NAME']);
  // spotsFirst: the short text at the first spot before the long at the next.
  const both = [{ x: 200, y: 50, align: 'left' }, { x: 200, y: 30, align: 'left' }];
  assert.deepEqual(place(wall, label(['NAME 12:00:00', 'NAME'], 200, { spots: both, spotsFirst: true })).placed
    .map((b) => [b.text, b.baseline]).slice(1), [['NAME', 50]]);
  assert.deepEqual(place(wall, label(['NAME 12:00:00', 'NAME'], 200, { spots: both })).placed
    .map((b) => [b.text, b.baseline]).slice(1), [['NAME 12:00:00', 30]]);
});

test('no label is cut by its area: moved in when asked, else left out', () => {
  const centred = (x, shiftIn) => label('KM 20.0', x, { spots: [{ x, y: 50, align: 'center', shiftIn }] });
  const cases = [
    { x: 101, shiftIn: true, left: 100 },
    { x: 499, shiftIn: true, left: 500 - 7 * LETTER },
    { x: 101, shiftIn: false, left: null },
    { x: 300, shiftIn: false, left: 300 - 3.5 * LETTER },
  ];
  for (const c of cases) {
    const { placed } = place(centred(c.x, c.shiftIn));
    assert.equal(placed.length ? placed[0].left : null, c.left, JSON.stringify(c));
  }
  // Too tall for the area, or too wide for it even moved in.
  assert.equal(place(label('LOW', 200, { spots: [{ x: 200, y: 59, align: 'left' }] })).placed.length, 0);
  assert.equal(place(label('W'.repeat(80), 200, { spots: [{ x: 200, y: 50, align: 'left', shiftIn: true }] })).placed.length, 0);
});

test('no label for a mark out of view; a mark on the frame is in view', () => {
  const cases = [[98, 0], [99.5, 1], [300, 1], [500.5, 1], [502, 0]];
  for (const [mark, count] of cases) {
    const l = label('X', mark, { spots: [{ x: 300, y: 50, align: 'left' }] });
    assert.equal(place(l).written.length, count, `mark at ${mark}`);
  }
});

test('a blocked mark is never covered, and a label may stand just beside its own', () => {
  const g = canvas();
  const placer = new LabelPlacer(g, RULES);
  placer.block({ left: 195, top: 40, right: 205, bottom: 48 });  // its own board
  placer.block({ left: 240, top: 40, right: 250, bottom: 48 });  // the next board
  placer.offer(label(['(LONG LETTERING)', '(L)…'], 200, { spots: [{ x: 207, y: 50, align: 'left' }] }));
  const placed = plain(placer.placeAll());
  assert.deepEqual(placed.map((b) => b.text), ['(L)…']);
  assert.equal(placed.length, 1, 'the blocked marks are not written labels');
});

test('whatever is offered, no two written labels meet and each lies in its area', () => {
  let seed = 29;
  const random = () => ((seed = (seed * 1103515245 + 12345) % 2147483648) / 2147483648);
  for (let round = 0; round < 20; ++round) {
    const g = canvas();
    const placer = new LabelPlacer(g, RULES);
    for (let i = 0; i < 200; ++i) {
      const x = 80 + random() * 440;
      const spots = Array.from({ length: 1 + Math.floor(random() * 3) }, () => ({
        x: x + (random() - 0.5) * 40, y: 5 + random() * 60, align: ['left', 'right', 'center'][Math.floor(random() * 3)],
        shiftIn: random() < 0.5,
      }));
      placer.offer(label(['N'.repeat(1 + Math.floor(random() * 20)), 'N'], x,
        { spots, priority: Math.floor(random() * 3), key: random() * 1000 }));
    }
    const placed = plain(placer.placeAll());
    assert.ok(placed.length > 10);
    assert.deepEqual(g.written.map((w) => [w.text, w.x, w.y]), placed.map((b) => [b.text, b.left, b.baseline]));
    for (const [i, a] of placed.entries()) {
      assert.ok(a.left >= AREA.left && a.right <= AREA.right && a.top >= AREA.top && a.bottom <= AREA.bottom,
        JSON.stringify(a));
      for (const b of placed.slice(i + 1)) {
        assert.ok(!(a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom),
          `${JSON.stringify(a)} meets ${JSON.stringify(b)}`);
      }
    }
  }
});

test('a spot that is not a number writes nothing', () => {
  for (const x of [NaN, Infinity, -Infinity]) {
    const l = label('X', 300, { spots: [{ x, y: 50, align: 'center', shiftIn: false }] });
    assert.equal(place(l).written.length, 0, String(x));
  }
});

test('labels and marks are kept apart by the gaps the rules give, not by gaps of its own', () => {
  // AB ends at 112; CD at 112 + gap - 1 meets it, at 112 + gap stands beside it.
  // A blocked mark ending at 112 keeps a label mark_gap away in the same way.
  const after = (gap) => label('CD', 112 + gap, { key: 1 });
  const cases = [];
  for (const rules of [RULES, { label_gap: 9, mark_gap: 3 }, { label_gap: 0, mark_gap: 0 }]) {
    cases.push({ rules, at: rules.label_gap - 1, beside: 'label', written: ['AB'] });
    cases.push({ rules, at: rules.label_gap, beside: 'label', written: ['AB', 'CD'] });
    cases.push({ rules, at: rules.mark_gap - 1, beside: 'mark', written: [] });
    cases.push({ rules, at: rules.mark_gap, beside: 'mark', written: ['CD'] });
  }
  for (const c of cases) {
    const g = canvas();
    const placer = new LabelPlacer(g, c.rules);
    if (c.beside === 'mark') placer.block({ left: 100, top: 30, right: 112, bottom: 60 });
    else placer.offer(label('AB', 100));
    placer.offer(after(c.at));
    placer.placeAll();
    assert.deepEqual(g.written.map((w) => w.text), c.written, JSON.stringify(c));
  }
});
