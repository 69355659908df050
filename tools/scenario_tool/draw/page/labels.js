// Where the line's page writes its labels. Labels are offered while a frame's
// marks are drawn and placed once they are all down, by priority: each goes
// to the first of its spots where it lies inside its area and clear of every
// label already placed, or is left out (its mark stays drawn and its text
// shows on hover). No label is ever cut by a band's edge or written over
// another, at any zoom.
'use strict';

const LABEL_COLUMN = 16;   // the placed boxes are filed in columns this wide
// A text's width in the labels' font (and, under the font's own name, its
// ascent and descent), kept from frame to frame.
const labelWidths = new Map();

class LabelPlacer {
  // `rules` are the tool's rules of placement, as sent with the page's looks:
  // `label_gap` (pixels kept clear between labels side by side) and
  // `mark_gap` (between a label and a mark it must not cover).
  constructor(g, rules) {
    this.g = g;
    this.labelGap = rules.label_gap;
    this.markGap = rules.mark_gap;
    this.reach = Math.max(this.labelGap, this.markGap);  // how far a box looks beside it
    this.offers = [];
    this.placed = [];
    this.columns = new Map();
    this.font = g.font;
    let metrics = labelWidths.get(this.font);
    if (metrics === undefined) {
      const m = g.measureText('Hg');
      metrics = [Math.ceil(m.fontBoundingBoxAscent || 10), Math.ceil(m.fontBoundingBoxDescent || 3)];
      labelWidths.set(this.font, metrics);
    }
    [this.ascent, this.descent] = metrics;
  }

  width(text) {
    const key = this.font + '|' + text;
    let w = labelWidths.get(key);
    if (w === undefined) {
      if (labelWidths.size > 20000) labelWidths.clear();  // a page open for days, data after data
      w = this.g.measureText(text).width;
      labelWidths.set(key, w);
    }
    return w;
  }

  // A label: `texts` (the first that fits is written: a long form, then
  // shorter ones), `colour`, `band` (its band's id), `area` ({left, top,
  // right, bottom}, where the whole label must lie), `spots` ([{x, y, align,
  // shiftIn}]: y the baseline, align 'left', 'right' or 'center' about x;
  // shiftIn moves it sideways into its area rather than leave it out),
  // `mark` (the x of what it names: outside the area, no label), `priority`
  // (lower first) and `key` (the order within one priority, chainage). Each
  // text is tried at every spot before the next text, unless `spotsFirst`
  // (a shorter text at the first spot before the long one at the next).
  offer(label) {
    // A mark on the area's frame (chainage 0 at the left edge) is in view.
    if (label.mark !== undefined && (label.mark < label.area.left - 1 || label.mark > label.area.right + 1)) return;
    label.order = this.offers.length;
    this.offers.push(label);
  }

  // A mark no label may cover ({left, top, right, bottom}): a board's
  // lettering stops short of the next board rather than run over it.
  block(box) {
    box.mark = true;
    this.keep(box, false);
  }

  // Places every offered label and writes those that fit; returns the boxes
  // written.
  placeAll() {
    const g = this.g;
    this.offers.sort((a, b) => a.priority - b.priority || (a.key || 0) - (b.key || 0) || a.order - b.order);
    g.textAlign = 'left';
    g.textBaseline = 'alphabetic';
    for (const label of this.offers) {
      const box = this.find(label);
      if (!box) continue;
      g.fillStyle = label.colour;
      g.fillText(box.text, box.left, box.baseline);
    }
    return this.placed;
  }

  find(label) {
    const tries = [];
    for (const text of label.texts) {
      if (text) for (const spot of label.spots) tries.push([text, spot]);
    }
    if (label.spotsFirst) tries.sort((p, q) => label.spots.indexOf(p[1]) - label.spots.indexOf(q[1]));
    const a = label.area;
    for (const [text, spot] of tries) {
      const w = this.width(text);
      let left = spot.align === 'right' ? spot.x - w : spot.align === 'center' ? spot.x - w / 2 : spot.x;
      if (spot.shiftIn) left = Math.min(Math.max(left, a.left), a.right - w);
      const box = {
        text, band: label.band, margin: label.margin === true, baseline: spot.y,
        left, right: left + w, top: spot.y - this.ascent, bottom: spot.y + this.descent,
      };
      // (Written so that a place that is not a number never fits.)
      if (!(box.left >= a.left && box.right <= a.right && box.top >= a.top && box.bottom <= a.bottom)) continue;
      if (this.clear(box)) {
        this.keep(box);
        return box;
      }
    }
    return null;
  }

  columnsOf(box) {
    return [Math.floor((box.left - this.reach) / LABEL_COLUMN), Math.floor((box.right + this.reach) / LABEL_COLUMN)];
  }

  clear(box) {
    const [first, last] = this.columnsOf(box);
    for (let c = first; c <= last; ++c) {
      for (const other of this.columns.get(c) || []) {
        const gap = other.mark ? this.markGap : this.labelGap;
        if (box.left < other.right + gap && other.left < box.right + gap &&
            box.top < other.bottom && other.top < box.bottom) return false;
      }
    }
    return true;
  }

  keep(box, written = true) {
    if (written) this.placed.push(box);
    const [first, last] = this.columnsOf(box);
    for (let c = first; c <= last; ++c) {
      if (!this.columns.has(c)) this.columns.set(c, []);
      this.columns.get(c).push(box);
    }
  }
}
