// Places the picture's labels where they fit: offered while the marks are
// drawn, placed once all are down (see label_rules.h), and written last, over
// the marks they name.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace scenario_tool::drawing {

class svg_writer;

struct label_box {
  double left, top, right, bottom;
};

enum class label_align { left, right, center };

// A place to try: y is the baseline, the text starts at, ends at or is
// centred on x; `shift_in` moves it sideways into its area rather than leave
// it out.
struct label_spot {
  double x, y;
  label_align align = label_align::left;
  bool shift_in = false;
};

struct label_offer {
  std::vector<std::string> texts = {};  // UTF-8; the first that fits is written
  std::string attributes = {};          // written on the <text> (fill, class)
  label_box area = {};                  // where the whole label must lie
  std::vector<label_spot> spots = {};
  int priority = 0;
  double key = 0;                             // the order within one priority: chainage
  std::optional<double> mark = std::nullopt;  // the x of what it names: outside the area, no label
  bool spots_first = false;                   // every text at the first spot before the next spot
};

struct placed_label {
  std::string text;
  std::string attributes;
  label_box box;
  double baseline;
};

class label_placer {
 public:
  void offer(label_offer label);
  // A mark no label may cover.
  void block(const label_box& box);
  // Places every label offered, by priority, then key, then the order offered.
  std::vector<placed_label> place_all();
  // Places them and writes those that fit, each starting at its box's left.
  void write(svg_writer& svg);

 private:
  std::optional<placed_label> find(const label_offer& label) const;
  bool clear(const label_box& box) const;

  std::vector<label_offer> offers_;
  std::vector<label_box> marks_;
  std::vector<label_box> placed_;
};

// The box a text written from `left` on `baseline` covers, in the labels' font.
label_box text_box(const std::string& utf8, double left, double baseline);

}  // namespace scenario_tool::drawing
