#include "scenario_tool/draw/label_placer.h"

#include <algorithm>
#include <numeric>

#include "scenario_tool/draw/label_font.h"
#include "scenario_tool/draw/label_rules.h"
#include "scenario_tool/draw/svg_page.h"

namespace scenario_tool::drawing {

namespace {

bool meet(const label_box& a, const label_box& b, double gap) {
  return a.left < b.right + gap && b.left < a.right + gap && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

label_box text_box(const std::string& utf8, double left, double baseline) {
  return {left, baseline - font_ascent * label_font_size, left + text_width(utf8),
          baseline + font_descent * label_font_size};
}

void label_placer::offer(label_offer label) {
  // A mark on the area's frame (chainage 0 at the left edge) is in view.
  if (label.mark && (*label.mark < label.area.left - 1 || *label.mark > label.area.right + 1)) {
    return;
  }
  offers_.push_back(std::move(label));
}

void label_placer::block(const label_box& box) {
  marks_.push_back(box);
}

bool label_placer::clear(const label_box& box) const {
  for (const label_box& other : placed_) {
    if (meet(box, other, label_rules::label_gap)) return false;
  }
  for (const label_box& mark : marks_) {
    if (meet(box, mark, label_rules::mark_gap)) return false;
  }
  return true;
}

std::optional<placed_label> label_placer::find(const label_offer& label) const {
  std::vector<std::pair<std::size_t, std::size_t>> tries;  // (text, spot)
  for (std::size_t t = 0; t < label.texts.size(); ++t) {
    if (label.texts[t].empty()) continue;
    for (std::size_t s = 0; s < label.spots.size(); ++s) tries.emplace_back(t, s);
  }
  if (label.spots_first) {
    std::stable_sort(tries.begin(), tries.end(),
                     [](const auto& a, const auto& b) { return a.second < b.second; });
  }
  const label_box& a = label.area;
  for (const auto& [t, s] : tries) {
    const std::string& text = label.texts[t];
    const label_spot& spot = label.spots[s];
    const double w = text_width(text);
    double from = spot.align == label_align::right    ? spot.x - w
                  : spot.align == label_align::center ? spot.x - w / 2
                                                      : spot.x;
    if (spot.shift_in) from = std::min(std::max(from, a.left), a.right - w);
    const label_box box = text_box(text, from, spot.y);
    // (Written so that a place that is not a number never fits.)
    if (!(box.left >= a.left && box.right <= a.right && box.top >= a.top &&
          box.bottom <= a.bottom)) {
      continue;
    }
    if (clear(box)) return placed_label{text, label.attributes, box, spot.y};
  }
  return std::nullopt;
}

std::vector<placed_label> label_placer::place_all() {
  std::vector<std::size_t> order(offers_.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    const label_offer& p = offers_[a];
    const label_offer& q = offers_[b];
    return p.priority != q.priority ? p.priority < q.priority : p.key < q.key;
  });
  std::vector<placed_label> written;
  for (const std::size_t i : order) {
    std::optional<placed_label> label = find(offers_[i]);
    if (!label) continue;
    placed_.push_back(label->box);
    written.push_back(std::move(*label));
  }
  offers_.clear();
  return written;
}

void label_placer::write(svg_writer& svg) {
  svg << "<g id=\"labels\" font-size=\"" << num(label_font_size) << "\">\n";
  for (const placed_label& label : place_all()) {
    svg.text(label.box.left, label.baseline, xml(label.text), label.attributes);
  }
  svg << "</g>\n";
}

}  // namespace scenario_tool::drawing
