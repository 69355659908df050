// The line's page: the plan fitted to its box, and under it the bands on one
// chainage axis that zooms from the whole line down to single 50 m cells.
'use strict';

const CELL = 50;
const SMALLEST_SPAN = 500;  // ten cells across at the deepest zoom

// Band layout on the bands canvas, in CSS pixels from its top. The stations
// band's height follows from its lanes of names, a rule the page is sent.
const BANDS = [
  { id: 'stations', title: 'stations' },
  { id: 'marks', title: 'signals · signs · indicators', height: 72 },
  { id: 'slowdowns', title: 'slowdowns · speed points', height: 40 },
  { id: 'speed', title: 'speed km/h', height: 110 },
  { id: 'gradient', title: 'gradient ‰', height: 80 },
  { id: 'curves', title: 'curves 1/R', height: 70 },
  { id: 'mountain', title: 'mountain · adhesion', height: 50 },
  { id: 'axis', title: 'km', height: 56 },
];
const LEFT = 190;   // room for the band titles and scales
const RIGHT = 12;
// The stations band: room for the marks and platforms under the names, and a
// lane of the labels' 11 px font for each lane of names.
const STATION_MARKS_HEIGHT = 26;
const STATION_LANE_HEIGHT = 14;

let page = null;

function startPage(data, live) {
  if (!data) {
    document.getElementById('row').textContent = 'Nothing to draw: the line text gave no track cells.';
    if (live) followReloads();
    return;
  }
  page = new LinePage(data);
  page.start();
  if (live) followReloads();
}

// view: the server says when a text was saved; the page takes the new data
// and keeps the author's zoom.
function followReloads() {
  const events = new EventSource('/events');
  events.addEventListener('reload', async () => {
    const response = await fetch('/data.json', { cache: 'no-store' });
    const data = await response.json();
    if (!data) return;
    if (!page) { startPage(data, false); return; }
    const view = [page.from, page.to];
    page.setData(data);
    [page.from, page.to] = view;
    page.draw();
    document.body.dataset.reloads = String(Number(document.body.dataset.reloads || 0) + 1);
  });
}

class LinePage {
  constructor(data) {
    this.plan = document.getElementById('plan');
    this.bands = document.getElementById('bands');
    this.tooltip = document.getElementById('tooltip');
    this.cursor = null;  // chainage under the pointer
    this.setData(data);
    this.reset();
  }

  setData(data) {
    this.data = data;
    const c = data.cells;
    this.cellCount = data.cell_count;
    this.end = Math.max(this.cellCount * CELL, data.line_length, 1);
    this.objects = data.objects;
    this.objectAt = new Map(this.objects.map((o) => [o.cell, o]));
    this.stations = data.stations.filter((s) => s.role === 'station');
    this.references = data.stations.filter((s) => s.role === 'chainage reference');
    // What the marks look like and where the labels go: decided by the
    // tool, as for its SVG.
    this.looks = data.looks;
    this.rules = data.looks.labels;
    this.bandList = BANDS.map((band) => (band.id === 'stations'
      ? { ...band, height: STATION_MARKS_HEIGHT + this.rules.station_lanes * STATION_LANE_HEIGHT } : band));
    // Speeds of the indicators, rank by rank, from where each stands.
    this.ranks = [[], [], []];
    for (const o of this.objects) {
      if (o.kind !== 6) continue;
      o.speeds.forEach((v, r) => this.ranks[r].push([o.cell * CELL, v]));
    }
    // The bands' scales, from the whole line, once per data.
    this.highestSpeed = 100;
    for (const v of c.speed_limit) this.highestSpeed = Math.max(this.highestSpeed, v * 5);
    for (const rank of this.ranks) for (const [, v] of rank) this.highestSpeed = Math.max(this.highestSpeed, v);
    this.gradientReach = 5;
    for (const v of c.gradient) if (v !== 0) this.gradientReach = Math.max(this.gradientReach, Math.abs(v - 100));
    this.highestAdhesion = 1;
    for (const v of c.adhesion) this.highestAdhesion = Math.max(this.highestAdhesion, v);
    this.preparePlan();
    document.getElementById('source').textContent = data.source;
    this.listDiagnostics();
  }

  reset() {
    this.from = 0;
    this.to = this.end;
  }

  start() {
    window.addEventListener('resize', () => this.draw());
    const b = this.bands;
    b.addEventListener('wheel', (e) => {
      e.preventDefault();
      this.zoom(e.deltaY < 0 ? 0.8 : 1.25, this.chainageAt(e.offsetX));
    }, { passive: false });
    let drag = null;
    b.addEventListener('mousedown', (e) => { drag = { x: e.offsetX, from: this.from, to: this.to, moved: false }; });
    window.addEventListener('mouseup', () => { setTimeout(() => { drag = null; }, 0); });
    b.addEventListener('mousemove', (e) => {
      if (drag && e.buttons) {
        const dx = e.offsetX - drag.x;
        if (Math.abs(dx) > 2) drag.moved = true;
        const metres = dx / this.scale();
        this.from = drag.from - metres;
        this.to = drag.to - metres;
        this.clamp();
        this.draw();
      }
      this.hover(e.offsetX, e.offsetY);
    });
    b.addEventListener('mouseleave', () => { this.tooltip.hidden = true; this.cursor = null; this.drawPlan(); });
    b.addEventListener('click', (e) => { if (!drag || !drag.moved) this.click(e.offsetX, e.offsetY); });
    b.addEventListener('dblclick', () => { this.reset(); this.draw(); });
    window.addEventListener('keydown', (e) => {
      const mid = (this.from + this.to) / 2;
      const step = (this.to - this.from) / 5;
      if (e.key === '+' || e.key === '=') this.zoom(0.8, mid);
      else if (e.key === '-' || e.key === '_') this.zoom(1.25, mid);
      else if (e.key === 'ArrowLeft') { this.from -= step; this.to -= step; this.clamp(); this.draw(); }
      else if (e.key === 'ArrowRight') { this.from += step; this.to += step; this.clamp(); this.draw(); }
      else if (e.key === 'Home' || e.key === '0') { this.reset(); this.draw(); }
    });
    this.draw();
    // Milliseconds from the start of the navigation to the first frame drawn.
    document.body.dataset.readyAt = performance.now().toFixed(0);
    document.body.dataset.ready = 'true';
  }

  // Shows metres `from` to `to` (the page's own tests and the diagnostics use it).
  show(from, to) {
    this.from = from;
    this.to = to;
    this.clamp();
    this.draw();
  }

  zoom(factor, around) {
    let span = (this.to - this.from) * factor;
    span = Math.min(Math.max(span, SMALLEST_SPAN), this.end);
    const share = (around - this.from) / (this.to - this.from);
    this.from = around - share * span;
    this.to = this.from + span;
    this.clamp();
    this.draw();
  }

  clamp() {
    let span = Math.min(Math.max(this.to - this.from, SMALLEST_SPAN), this.end);
    if (this.from < 0) this.from = 0;
    if (this.from + span > this.end) this.from = Math.max(0, this.end - span);
    this.to = this.from + span;
  }

  width() { return this.bands.clientWidth - LEFT - RIGHT; }
  scale() { return this.width() / (this.to - this.from); }
  x(m) { return LEFT + (m - this.from) * this.scale(); }
  chainageAt(px) { return this.from + (px - LEFT) / this.scale(); }

  bandTop(id) {
    let top = 0;
    for (const band of this.bandList) {
      if (band.id === id) return [top, top + band.height];
      top += band.height;
    }
    return [0, 0];
  }

  // Where a band's labels may go: inside its frame, or in the margin to its
  // left (titles and scales).
  plotArea(id) {
    const [top, bottom] = this.bandTop(id);
    return { left: LEFT + 1, top: top + 1, right: LEFT + this.width() - 1, bottom: bottom - 1 };
  }

  marginArea(id) {
    const [top, bottom] = this.bandTop(id);
    return { left: 0, top, right: LEFT - 2, bottom };
  }

  // A caption in the margin left of band `id`, on baseline y: right-aligned,
  // it ends clear of a scale's values beside the frame.
  marginLabel(id, text, colour, y, align) {
    const x = align === 'right' ? LEFT - this.rules.title_clearance : 4;
    this.labels.offer({ texts: [text], colour, band: id, margin: true, area: this.marginArea(id),
      spots: [{ x, y, align }], priority: this.rules.priority.caption });
  }

  // A scale's value beside the band's frame, level with its height y (kept
  // inside the band at its top and bottom), and a tick inside the frame.
  scaleLabel(g, id, text, y) {
    const [top, bottom] = this.bandTop(id);
    g.strokeStyle = this.looks.note;
    g.beginPath(); g.moveTo(LEFT, y); g.lineTo(LEFT + 4, y); g.stroke();
    const baseline = Math.min(Math.max(y + 4, top + this.labels.ascent), bottom - this.labels.descent);
    this.labels.offer({ texts: [text], colour: this.looks.note, band: id, margin: true, area: this.marginArea(id),
      spots: [{ x: LEFT - this.rules.scale_clearance, y: baseline, align: 'right' }],
      priority: this.rules.priority.scale });
  }

  // The kilometre a driver reads at chainage m: the furthest reference that
  // applies adds its offset (and 100 m with its flag).
  driverKm(m) {
    let offset = 0;
    let from = -1;
    for (const r of this.references) {
      const f = r.fields;
      if (f.start === 0 && f.end === 0 && f.position === 0) continue;
      if (f.start <= m && f.start > from) {
        from = f.start;
        offset = f.end + (f.position ? 100 : 0);
      }
    }
    return ((m + offset) / 1000).toFixed(3);
  }

  // ---- drawing ----

  draw() {
    this.drawBands();
    this.drawPlan();
  }

  context(canvas) {
    const ratio = window.devicePixelRatio || 1;
    const w = canvas.clientWidth;
    const h = Number(canvas.getAttribute('height'));
    if (canvas.width !== Math.round(w * ratio) || canvas.style.height !== h + 'px') {
      canvas.width = Math.round(w * ratio);
      canvas.height = Math.round(h * ratio);
      canvas.style.height = h + 'px';
      canvas.setAttribute('height', String(h));
    }
    const g = canvas.getContext('2d');
    g.setTransform(ratio, 0, 0, ratio, 0, 0);
    g.clearRect(0, 0, w, h);
    g.font = '11px sans-serif';
    return g;
  }

  visibleCells() {
    const first = Math.max(0, Math.floor(this.from / CELL));
    const last = Math.min(this.cellCount - 1, Math.ceil(this.to / CELL));
    return [first, last];
  }

  drawBands() {
    const g = this.context(this.bands);
    const right = LEFT + this.width();
    this.drawn = { signals: 0, stations: 0, boards: 0, indicators: 0, ticks: [], tickStep: 0 };
    this.labels = new LabelPlacer(g, this.rules);
    const bandBoxes = {};
    let top = 0;
    for (const band of this.bandList) {
      g.strokeStyle = this.looks.frame;
      g.strokeRect(LEFT, top + 0.5, this.width(), band.height - 1);
      bandBoxes[band.id] = { left: LEFT, top, right, bottom: top + band.height };
      this.marginLabel(band.id, band.title, this.looks.caption, top + 14, 'right');
      top += band.height;
    }
    g.save();
    g.beginPath();
    g.rect(LEFT, 0, this.width(), top);
    g.clip();
    this.drawRunOut(g);
    this.drawSpeed(g);
    this.drawGradient(g);
    this.drawCurves(g);
    this.drawMountain(g);
    this.drawObjects(g);
    this.drawStations(g);
    this.drawAxis(g, right);
    if (this.cursor !== null) {
      g.strokeStyle = this.looks.ink;
      g.globalAlpha = Number(this.looks.pointer_opacity);
      g.beginPath();
      g.moveTo(this.x(this.cursor), 0);
      g.lineTo(this.x(this.cursor), top);
      g.stroke();
      g.globalAlpha = 1;
    }
    g.restore();
    // The labels go last, where they fit, over the marks they name.
    const placed = this.labels.placeAll();
    const d = this.bands.dataset;
    const r = (v) => Math.round(v * 10) / 10;
    d.labels = JSON.stringify(placed.map((b) => ({
      text: b.text, band: b.band, margin: b.margin, left: r(b.left), top: r(b.top), right: r(b.right), bottom: r(b.bottom),
    })));
    d.bandBoxes = JSON.stringify(bandBoxes);
    d.from = String(this.from);
    d.to = String(this.to);
    d.signals = String(this.drawn.signals);
    d.stations = String(this.drawn.stations);
    d.boards = String(this.drawn.boards);
    d.tickStep = String(this.drawn.tickStep);
    d.ticks = this.drawn.ticks.join(' ');
  }

  drawRunOut(g) {
    const L = this.data.line_length;
    if (L <= 0 || L >= this.to) return;
    const x = this.x(L);
    g.fillStyle = this.looks.run_out_shade;
    g.globalAlpha = Number(this.looks.run_out_shade_opacity);
    g.fillRect(x, 0, this.x(this.to) - x + 1, this.bands.clientHeight);
    g.globalAlpha = 1;
    g.strokeStyle = this.looks.line_end;
    g.setLineDash([6, 4]);
    g.beginPath();
    g.moveTo(x, 0);
    g.lineTo(x, this.bands.clientHeight);
    g.stroke();
    g.setLineDash([]);
    const [top] = this.bandTop('marks');
    this.labels.offer({ texts: ['end of line ' + (L / 1000) + ' km · run-out', 'end of line'], colour: this.looks.line_end,
      band: 'marks', area: this.plotArea('marks'), mark: x, priority: this.rules.priority.caption, spotsFirst: true,
      spots: [{ x: x + 4, y: top + 11, align: 'left' }, { x: x - 4, y: top + 11, align: 'right' }] });
  }

  // A step line of a cell column, sampled at most once per pixel, with one
  // segment per run of equal values: a path of thousands of equal steps
  // (dashed, above all) costs the first frame most of its time.
  stepColumn(g, column, y) {
    const [first, last] = this.visibleCells();
    if (last < first) return;
    const perPixel = Math.max(1, Math.floor(1 / (this.scale() * CELL)));
    g.beginPath();
    let held = column[first];
    g.moveTo(this.x(first * CELL), y(held));
    let i = first + perPixel;
    for (; i <= last; i += perPixel) {
      const v = column[i];
      if (v === held) continue;
      const x = this.x(i * CELL);
      g.lineTo(x, y(held));
      g.lineTo(x, y(v));
      held = v;
    }
    g.lineTo(this.x(i * CELL), y(held));
    g.stroke();
  }

  drawSpeed(g) {
    const [top, bottom] = this.bandTop('speed');
    const c = this.data.cells;
    const high = Math.min(Math.ceil(this.highestSpeed / 50) * 50, 500);
    const y = (v) => bottom - 4 - Math.min(v, high) / high * (bottom - top - 16);
    for (let v = 0; v <= high; v += high > 200 ? 100 : 50) this.scaleLabel(g, 'speed', String(v), y(v));
    g.strokeStyle = this.looks.line_speed;
    g.setLineDash([5, 3]);
    g.lineWidth = 2;
    this.stepColumn(g, c.speed_limit, (v) => y(v * 5));
    g.setLineDash([]);
    this.ranks.forEach((rank, r) => {
      g.strokeStyle = this.looks.rank_strokes[r];
      g.lineWidth = r === 0 ? 2 : 1.2;
      g.beginPath();
      rank.forEach(([m, v], i) => {
        const next = i + 1 < rank.length ? rank[i + 1][0] : this.end;
        if (i === 0) g.moveTo(this.x(m), y(v)); else g.lineTo(this.x(m), y(v));
        g.lineTo(this.x(next), y(v));
      });
      g.stroke();
    });
    // Slowdowns: their speed from start to the next end.
    g.strokeStyle = this.looks.slowdown_speed;
    g.lineWidth = 3;
    let start = null;
    for (const o of this.objects) {
      if (o.kind === 3) start = o;
      if (o.kind === 2 && start) {
        g.beginPath();
        g.moveTo(this.x(start.cell * CELL), y(c.value[start.cell]));
        g.lineTo(this.x(o.cell * CELL), y(c.value[start.cell]));
        g.stroke();
        start = null;
      }
    }
    g.lineWidth = 1;
  }

  drawGradient(g) {
    const [top, bottom] = this.bandTop('gradient');
    const c = this.data.cells;
    const reach = Math.ceil(this.gradientReach / 5) * 5;
    const mid = (top + bottom) / 2;
    const y = (v) => (v === 0 ? mid : mid - (v - 100) / reach * (bottom - top) / 2 * 0.85);
    g.strokeStyle = this.looks.gradient_level;
    g.setLineDash([3, 3]);
    g.beginPath(); g.moveTo(LEFT, mid); g.lineTo(this.x(this.to), mid); g.stroke();
    g.setLineDash([]);
    this.scaleLabel(g, 'gradient', '+' + reach, y(100 + reach));
    this.scaleLabel(g, 'gradient', '0', mid);
    this.scaleLabel(g, 'gradient', '−' + reach, y(100 - reach));
    g.strokeStyle = this.looks.gradient;
    g.lineWidth = 1.5;
    this.stepColumn(g, c.gradient, y);
    g.lineWidth = 1;
  }

  drawCurves(g) {
    const [top, bottom] = this.bandTop('curves');
    const mid = (top + bottom) / 2;
    const half = (bottom - top) / 2 - 3;
    g.strokeStyle = this.looks.curve_axis;
    g.beginPath(); g.moveTo(LEFT, mid); g.lineTo(this.x(this.to), mid); g.stroke();
    if (this.data.curves.length === 0 && this.data.plan.metre.length === 0) {
      this.labels.offer({ texts: ['no track plan: curves unknown'], colour: this.looks.note, band: 'curves',
        area: this.plotArea('curves'), spots: [{ x: LEFT + 6, y: mid - 4, align: 'left' }], priority: this.rules.priority.caption });
      return;
    }
    // The depth the tool gives each curve (1/R against the tightest radius a
    // text can give): a 10 km curve is a sliver, a 333 m curve fills the band.
    for (const k of this.data.curves) {
      if (k.last + 1 < this.from || k.first > this.to) continue;
      const h = Math.max(2, k.depth * half);
      const x0 = this.x(k.first);
      const w = Math.max(1, this.x(k.last + 1) - x0);
      g.fillStyle = k.side === 'right' ? this.looks.right_curve : this.looks.left_curve;
      if (k.side === 'right') g.fillRect(x0, mid - h, w, h); else g.fillRect(x0, mid, w, h);
      // Its radius over the part in view: beyond the bar, or across the axis
      // where the bar fills its half of the band.
      const shownFrom = Math.max(x0, LEFT), shownTo = Math.min(x0 + w, LEFT + this.width());
      if (shownTo - shownFrom > 40) {
        const centre = (shownFrom + shownTo) / 2;
        const a = this.labels.ascent;
        const beyond = k.side === 'right' ? mid - h - 2 : mid + h + a + 1;
        const across = k.side === 'right' ? mid + a + 2 : mid - 3;
        this.labels.offer({ texts: ['R ' + k.radius], colour: this.looks.name, band: 'curves',
          area: this.plotArea('curves'), mark: centre, priority: this.rules.priority.lettering, key: k.first,
          spots: [beyond, across].map((y) => ({ x: centre, y, align: 'center', shiftIn: true })) });
      }
    }
    this.marginLabel('curves', 'right ▲ left ▼', this.looks.note, bottom - 4, 'right');
  }

  drawMountain(g) {
    const [top, bottom] = this.bandTop('mountain');
    const c = this.data.cells;
    const [first, last] = this.visibleCells();
    const colours = this.looks.mountain_fills;
    for (let i = first; i <= last; ++i) {
      const code = c.mountain[i] % 10;
      if (!code) continue;
      // One bar per run of one side code.
      let j = i;
      while (j + 1 <= last && c.mountain[j + 1] % 10 === code) ++j;
      g.fillStyle = colours[code];
      g.fillRect(this.x(i * CELL), top + 4, Math.max(1, (j + 1 - i) * CELL * this.scale()), 16);
      i = j;
    }
    for (let i = first; i <= last && CELL * this.scale() > 6; ++i) {
      if (c.kind[i] === 11) {
        g.fillStyle = this.looks.mountain_filler;
        g.fillRect(this.x(i * CELL) + 1, top + 8, Math.max(1, CELL * this.scale() - 2), 8);
      }
    }
    const high = this.highestAdhesion;
    g.strokeStyle = this.looks.adhesion;
    this.stepColumn(g, c.adhesion, (v) => bottom - 4 - v / high * (bottom - top - 28));
  }

  drawObjects(g) {
    const [mTop] = this.bandTop('marks');
    const [sTop] = this.bandTop('slowdowns');
    const sigY = mTop + 28;  // the glyphs start below the line-end label's lane
    const spare = CELL * this.scale();
    const marks = this.plotArea('marks');
    for (const o of this.objects) {
      const m = o.cell * CELL;
      if (m < this.from - CELL || m > this.to + CELL) continue;
      const x = this.x(m + CELL / 2);
      const c = this.data.cells;
      switch (o.kind) {
        case 1: {  // signal: the glyph tells its left kind, the fill its right kind
          const look = o.signal;
          const shape = this.looks.signal_shapes[look.left_kind];
          g.strokeStyle = this.looks.ink;
          g.beginPath(); g.moveTo(x, sigY + 10); g.lineTo(x, sigY - 4); g.stroke();
          g.fillStyle = this.looks.signal_fills[look.right_kind];
          g.beginPath();
          if (shape === 'circle') g.arc(x, sigY - 8, 4, 0, 2 * Math.PI);
          else if (shape === 'square') g.rect(x - 4, sigY - 12, 8, 8);
          else { g.moveTo(x, sigY - 13); g.lineTo(x + 5, sigY - 4); g.lineTo(x - 5, sigY - 4); g.closePath(); }
          g.fill();
          g.stroke();
          this.labels.block({ left: x - 5, top: sigY - 13, right: x + 5, bottom: sigY + 10 });
          if (look.rapp !== 0) {  // its RAPP field, beside the glyph
            this.labels.offer({ texts: [String(look.rapp)], colour: this.looks.ink, band: 'marks', area: marks,
              mark: x, priority: this.rules.priority.scale, key: m, spots: [{ x: x + 7, y: sigY - 4, align: 'left' }] });
          }
          this.drawn.signals += 1;
          break;
        }
        case 14: {  // board with its lettering
          g.fillStyle = this.looks.board_fill;
          g.strokeStyle = this.looks.board;
          g.fillRect(x - 5, mTop + 40, 10, 8);
          g.strokeRect(x - 5, mTop + 40, 10, 8);
          this.labels.block({ left: x - 5, top: mTop + 40, right: x + 5, bottom: mTop + 48 });
          if (spare > 8 || this.to - this.from < 20000) {
            // The whole lettering, else its first line, after the board or
            // else before it: hover shows it all.
            const lettering = o.lettering || '';
            const first = lettering.indexOf(')') + 1;
            const firstLine = first > 0 && first < lettering.length ? lettering.slice(0, first) + '…' : '';
            this.labels.offer({ texts: [lettering, firstLine],
              colour: this.looks.board, band: 'marks', area: marks, mark: x, priority: this.rules.priority.lettering, key: m,
              spots: [{ x: x + 7, y: mTop + 49, align: 'left' }, { x: x - 7, y: mTop + 49, align: 'right' }] });
          }
          this.drawn.boards += 1;
          break;
        }
        case 6: {  // speed indicator where it stands
          g.fillStyle = this.looks.indicator;
          g.fillRect(x - 4, mTop + 56, 8, 8);
          this.labels.block({ left: x - 4, top: mTop + 56, right: x + 4, bottom: mTop + 64 });
          if (this.to - this.from < 20000) {
            this.labels.offer({ texts: [String(o.speeds[0])], colour: this.looks.indicator, band: 'marks', area: marks,
              mark: x, priority: this.rules.priority.indicator, key: m, spots: [{ x: x + 6, y: mTop + 65, align: 'left' }] });
          }
          this.drawn.indicators += 1;
          break;
        }
        case 3: case 2: case 4: case 5: {
          g.fillStyle = this.looks.slowdown_fills[o.kind];
          if (o.kind === 4) {
            g.beginPath(); g.moveTo(x, sTop + 4); g.lineTo(x + 6, sTop + 15); g.lineTo(x - 6, sTop + 15); g.closePath(); g.fill();
          } else g.fillRect(x - 3, sTop + 5, 6, 10);
          break;
        }
        case 12: case 13: {
          const y = sTop + 28;
          g.fillStyle = o.by_walk === true ? this.looks.walk_point : o.by_walk === false ? this.looks.text_point : this.looks.unknown_point;
          g.beginPath();
          if (o.by_walk === true) { g.moveTo(x, y - 6); g.lineTo(x + 5, y); g.lineTo(x, y + 6); g.lineTo(x - 5, y); g.closePath(); }
          else g.arc(x, y, 4, 0, 2 * Math.PI);
          g.fill();
          break;
        }
        case 10: {  // a station's stop point
          g.fillStyle = this.looks.stop_point;
          g.fillRect(x - 1, mTop + 2, 2, 10);
          break;
        }
        default:
          break;
      }
    }
  }

  drawStations(g) {
    const [top, bottom] = this.bandTop('stations');
    const area = this.plotArea('stations');
    // The lanes of names, from the lowest up: as many as the rules give
    // where the font lets the band hold them all.
    const lanes = [];
    const { ascent, descent } = this.labels;
    for (let y = bottom - 24 - descent; lanes.length < this.rules.station_lanes && y - ascent >= area.top;
      y -= ascent + descent) lanes.push(y);
    for (const s of this.stations) {
      const m = s.fields.position;
      const f = s.fields;
      if (f.end < this.from - 2000 || f.start > this.to + 2000) { this.drawn.stations += 1; continue; }
      const x = this.x(m);
      // The platform, then the mark: filled where the train stops, hollow where it passes.
      g.fillStyle = this.looks.station;
      g.globalAlpha = Number(this.looks.platform_opacity);
      g.fillRect(this.x(f.start), bottom - 12, Math.max(1, this.x(f.end) - this.x(f.start)), 8);
      g.globalAlpha = 1;
      g.strokeStyle = this.looks.station;
      g.fillStyle = this.looks.station;
      g.beginPath();
      g.moveTo(x - 5, bottom - 22); g.lineTo(x + 5, bottom - 22); g.lineTo(x, bottom - 14); g.closePath();
      if (f.stop) g.fill(); else g.stroke();
      // Its name (and time, where there is room) above the mark, in the
      // lowest lane where it fits.
      this.labels.offer({ texts: [s.name + (s.time_text ? ' ' + s.time_text : ''), s.name], colour: this.looks.name,
        band: 'stations', area, mark: x, priority: f.stop ? this.rules.priority.station_stop : this.rules.priority.station_pass, key: m,
        spots: lanes.map((y) => ({ x, y, align: 'center', shiftIn: true })) });
      this.drawn.stations += 1;
    }
    g.strokeStyle = this.looks.station;
    g.globalAlpha = Number(this.looks.station_guide_opacity);
    for (const s of this.stations) {
      const x = this.x(s.fields.position);
      g.beginPath(); g.moveTo(x, bottom - 10); g.lineTo(x, this.bandTop('axis')[0]); g.stroke();
    }
    g.globalAlpha = 1;
  }

  drawAxis(g, right) {
    const [top] = this.bandTop('axis');
    const span = this.to - this.from;
    // A round step with at least 60 px between ticks, never below one cell.
    let step = CELL;
    for (const s of [50, 100, 200, 500, 1000, 2000, 5000, 10000, 20000, 50000, 100000, 200000]) {
      step = s;
      if (s * this.scale() >= 60) break;
    }
    this.drawn.tickStep = step;
    g.strokeStyle = this.looks.ink;
    g.beginPath(); g.moveTo(LEFT, top + 4); g.lineTo(right, top + 4); g.stroke();
    const area = this.plotArea('axis');
    const digits = step >= 1000 ? 0 : step >= 100 ? 1 : 2;
    for (let m = Math.ceil(this.from / step) * step; m <= this.to + 0.5; m += step) {
      const x = this.x(m);
      g.strokeStyle = this.looks.grid;
      g.beginPath(); g.moveTo(x, 0); g.lineTo(x, top); g.stroke();
      g.strokeStyle = this.looks.ink;
      g.beginPath(); g.moveTo(x, top + 4); g.lineTo(x, top + 10); g.stroke();
      // The first and last values move in rather than be cut by the frame.
      this.labels.offer({ texts: [(m / 1000).toFixed(digits)], colour: this.looks.ink, band: 'axis', area, mark: x,
        priority: this.rules.priority.caption, key: m, spots: [{ x, y: top + 22, align: 'center', shiftIn: true }] });
      this.drawn.ticks.push(m);
    }
    // The kilometric references, where the driver's kilometres restart.
    g.fillStyle = this.looks.km_reference;
    for (const r of this.references) {
      const f = r.fields;
      if (f.start === 0 && f.end === 0 && f.position === 0) continue;
      const x = this.x(f.start);
      g.fillRect(x - 1, top + 26, 2, 10);
      const shift = f.end + (f.position ? 100 : 0);
      this.labels.offer({ texts: ['km reference ' + (shift < 0 ? '−' : '+') + Math.abs(shift) + ' m'],
        colour: this.looks.km_reference, band: 'axis', area, mark: x, priority: this.rules.priority.scale, key: f.start,
        spots: [{ x: x + 3, y: top + 36, align: 'left' }, { x: x - 3, y: top + 36, align: 'right' }] });
    }
    const shown = span >= 10000 ? (span / 1000).toFixed(0) + ' km' : span.toFixed(0) + ' m';
    this.labels.offer({ texts: ['chainage in km · ' + shown + ' shown'], colour: this.looks.caption, band: 'axis', area, priority: this.rules.priority.caption, spots: [{ x: right - 2, y: top + 50, align: 'right' }] });
  }

  // ---- the plan ----

  preparePlan() {
    const p = this.data.plan;
    const n = p.metre.length;
    this.planPoints = null;
    if (n < 2 || !p.extent) return;
    // Turned as the tool turns it: the line's principal direction along the
    // box's width, its start on the left.
    const [cos, sin] = p.turn;
    const u = new Float64Array(n), v = new Float64Array(n);
    for (let i = 0; i < n; ++i) {
      const x = p.x_cm[i] / 100, y = p.y_cm[i] / 100;
      u[i] = x * cos - y * sin;
      v[i] = x * sin + y * cos;
    }
    this.planPoints = { u, v, metre: p.metre };
  }

  indexAtMetre(m) {
    const metres = this.data.plan.metre;
    let lo = 0, hi = metres.length - 1;
    while (lo < hi) {
      const mid = (lo + hi + 1) >> 1;
      if (metres[mid] <= m) lo = mid; else hi = mid - 1;
    }
    return lo;
  }

  drawPlan() {
    const g = this.context(this.plan);
    const w = this.plan.clientWidth, h = Number(this.plan.getAttribute('height'));
    const d = this.plan.dataset;
    if (!this.planPoints) {
      g.fillStyle = this.looks.note;
      g.fillText('No track plan to draw.', 10, 20);
      d.fill = '0';
      return;
    }
    const { u, v, metre } = this.planPoints;
    const L = this.data.line_length;
    // The extent the tool fits its SVG to: the line and every station's point.
    const e = this.data.plan.extent;
    const [u0, u1, v0, v1] = [e.min_u, e.max_u, e.min_v, e.max_v];
    const pad = 14;
    const s = Math.min((w - 2 * pad) / Math.max(u1 - u0, 1), (h - 2 * pad) / Math.max(v1 - v0, 1));
    const ox = (w - (u1 - u0) * s) / 2, oy = (h + (v1 - v0) * s) / 2;
    const px = (i) => ox + (u[i] - u0) * s;
    const py = (i) => oy - (v[i] - v0) * s;
    const at = (m) => {  // a point at metre m, between the kept points
      const i = this.indexAtMetre(m);
      const j = Math.min(i + 1, metre.length - 1);
      const t = metre[j] > metre[i] ? (m - metre[i]) / (metre[j] - metre[i]) : 0;
      return [px(i) + (px(j) - px(i)) * t, py(i) + (py(j) - py(i)) * t];
    };
    const path = (from, to) => {
      g.beginPath();
      g.moveTo(...at(from));
      for (let i = this.indexAtMetre(from) + 1; i < metre.length && metre[i] < to; ++i) g.lineTo(px(i), py(i));
      g.lineTo(...at(to));
      g.stroke();
    };
    g.lineWidth = 1.5;
    g.strokeStyle = this.looks.plan_run_out;
    g.setLineDash([4, 3]);
    path(L, metre[metre.length - 1]);  // run-out
    g.setLineDash([]);
    g.strokeStyle = this.looks.plan_line;
    path(0, L);
    // The stretch the bands show.
    g.strokeStyle = this.looks.plan_shown;
    g.lineWidth = 5;
    path(Math.max(0, this.from), Math.min(this.to, metre[metre.length - 1]));
    g.lineWidth = 1;
    const marks = [];
    for (const st of this.stations) {
      const [x, y] = at(st.fields.position);
      g.fillStyle = this.looks.station;
      g.beginPath(); g.arc(x, y, 3, 0, 2 * Math.PI); g.fill();
      marks.push(x.toFixed(1) + ',' + y.toFixed(1));
    }
    d.stationMarks = marks.join(' ');
    if (this.cursor !== null) {
      const [x, y] = at(Math.min(Math.max(this.cursor, 0), metre[metre.length - 1]));
      g.strokeStyle = this.looks.plan_pointer;
      g.lineWidth = 2;
      g.beginPath(); g.arc(x, y, 7, 0, 2 * Math.PI); g.stroke();
      g.lineWidth = 1;
      d.cursorX = x.toFixed(1);
      d.cursorY = y.toFixed(1);
    }
    // How much of the box the line fills, for whoever checks the page.
    d.fill = Math.max((u1 - u0) * s / (w - 2 * pad), (v1 - v0) * s / (h - 2 * pad)).toFixed(3);
    d.points = String(metre.length);
    g.fillStyle = this.looks.note;
    g.textAlign = 'left';
    g.fillText('plan of the line, fitted to the box (' + metre.length + ' of ' + this.data.plan.full_points + ' points kept)', 6, 12);
  }

  // ---- pointing ----

  // The object drawn nearest the pointer, within a few pixels.
  objectNear(px, py) {
    const m = this.chainageAt(px);
    const slack = Math.max(CELL, 8 / this.scale());
    const [mTop] = this.bandTop('marks');
    const [, sBottom] = this.bandTop('slowdowns');
    if (py < mTop || py > sBottom) return null;
    let best = null;
    let bestDistance = Infinity;
    const first = Math.max(0, Math.floor((m - slack) / CELL) - 1);
    const last = Math.min(this.cellCount - 1, Math.ceil((m + slack) / CELL));
    for (let i = first; i <= last; ++i) {
      const o = this.objectAt.get(i);
      if (!o) continue;
      const distance = Math.abs(this.x(i * CELL + CELL / 2) - px);
      if (distance < bestDistance && distance <= 8) { best = o; bestDistance = distance; }
    }
    return best;
  }

  stationNear(px, py) {
    const [top, bottom] = this.bandTop('stations');
    if (py < top || py > bottom) return null;
    let best = null;
    let bestDistance = 10;
    for (const s of this.stations) {
      const distance = Math.abs(this.x(s.fields.position) - px);
      if (distance < bestDistance) { best = s; bestDistance = distance; }
    }
    return best;
  }

  curveAt(m) {
    return this.data.curves.find((k) => k.first <= m && m <= k.last + 1) || null;
  }

  // What dump prints for a cell.
  cellText(i) {
    const o = this.objectAt.get(i);
    if (o) return o.text;
    const c = this.data.cells;
    let text = 'cell ' + i + ' (' + i * CELL + ' m) ' + this.data.kind_names[c.kind[i]] + ':';
    Object.keys(c).slice(1).forEach((name, n) => {
      let value = String(c[name][i]);
      if (name === 'speed_limit') value = c[name][i] * 5 + ' km/h';
      if (name === 'gradient') value = c[name][i] - 100 + ' ‰';
      text += (n === 0 ? ' ' : ', ') + name + ' ' + value;
    });
    return text;
  }

  rowOf(o) {
    if (!o) return null;
    if (o.row !== undefined) return this.data.rows[o.row];
    if (o.trigger_row !== undefined) return this.data.rows[o.trigger_row];
    return null;
  }

  hover(px, py) {
    const m = this.chainageAt(px);
    if (px < LEFT || m < 0 || m > this.end) { this.tooltip.hidden = true; return; }
    this.cursor = m;
    const cell = Math.min(this.cellCount - 1, Math.max(0, Math.floor(m / CELL)));
    let text;
    const station = this.stationNear(px, py);
    const o = this.objectNear(px, py);
    if (station) {
      const f = station.fields;
      text = 'station ' + station.index + ' "' + station.name + '": ' +
        Object.entries(f).map(([k, v]) => k + ' ' + v).join(', ') +
        (station.time_text ? '\ntime ' + station.time_text : '') +
        '\n' + (f.stop ? 'the train stops' : 'the train passes') +
        '\nat ' + f.position + ' m, km ' + this.driverKm(f.position);
    } else if (o) {
      text = o.text + (o.lettering ? '\nlettering ' + o.lettering : '') +
        (o.by_walk === true ? '\nadded by the walk' : o.by_walk === false ? '\nfrom the texts' : '') +
        '\nkm ' + this.driverKm(o.cell * CELL);
      const row = this.rowOf(o);
      if (row) text += '\n' + row.file_name + ':' + row.line;
    } else {
      text = this.cellText(cell) + '\nkm ' + this.driverKm(cell * CELL);
      const k = this.curveAt(m);
      if (k) text += '\n' + k.side + ' curve, radius about ' + k.radius + ' m, ' + k.first + ' to ' + (k.last + 1) + ' m';
    }
    this.tooltip.textContent = text;
    this.tooltip.hidden = false;
    this.tooltip.style.left = Math.min(px + 16, this.bands.clientWidth - 300) + 'px';
    this.tooltip.style.top = (this.bands.offsetTop + py + 16) + 'px';
    this.drawBands();
    this.drawPlan();
  }

  click(px, py) {
    const o = this.objectNear(px, py);
    const station = o ? null : this.stationNear(px, py);
    const box = document.getElementById('row');
    let row = this.rowOf(o);
    let what = o ? o.text : '';
    if (station) {
      // A station's row is the one that put its stop point.
      const f = station.fields;
      const stop = this.objects.find((s) => s.kind === 10 && s.cell * CELL >= f.start - 200 && s.cell * CELL <= f.end + 200);
      row = this.rowOf(stop);
      what = 'station ' + station.index + ' "' + station.name + '"';
    }
    if (!o && !station) return;
    box.textContent = '';
    const head = document.createElement('div');
    head.textContent = what;
    box.appendChild(head);
    if (!row) {
      box.appendChild(document.createTextNode(this.data.from_texts ? 'No row of the texts put this object.' : 'Drawn from compiled files: no rows to show.'));
      box.dataset.place = '';
      return;
    }
    const place = document.createElement(row.link ? 'a' : 'span');
    place.className = 'place';
    place.textContent = row.file_name + ':' + row.line;
    if (row.link) place.href = row.link;
    box.appendChild(place);
    const text = document.createElement('div');
    text.className = 'row-text';
    text.textContent = row.text;
    box.appendChild(text);
    box.dataset.place = row.file_name + ':' + row.line;
  }

  listDiagnostics() {
    const list = document.getElementById('diagnostics');
    list.textContent = '';
    const all = this.data.diagnostics.length ? this.data.diagnostics
      : this.data.notes.map((n) => ({ level: 'note', message: n, file_name: '', line: 0, position: null }));
    document.getElementById('diagnostic-count').textContent = '(' + all.length + ')';
    for (const d of all) {
      const item = document.createElement('li');
      item.className = d.level;
      item.textContent = (d.file_name ? d.file_name + (d.line ? ':' + d.line : '') + ': ' : '') + d.level + ': ' + d.message;
      item.addEventListener('click', () => {
        let at = d.position;
        if (at === null || at === undefined) {
          const row = this.data.rows.findIndex((r) => r.file === d.file && r.line === d.line);
          const o = this.objects.find((x) => x.row === row);
          if (row >= 0 && o) at = o.cell * CELL;
        }
        if (at !== null && at !== undefined) this.show(at - 1000, at + 1000);
      });
      list.appendChild(item);
    }
  }
}
