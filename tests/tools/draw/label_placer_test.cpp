// The SVG's label placement on its own: labels that would meet go to their
// next spot or are left out, lower priorities and then lower chainages are
// placed first, nothing is written outside its area or over a blocked mark,
// and among many labels offered at random no two placed ones meet.
#include "scenario_tool/draw/label_placer.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "scenario_tool/draw/label_font.h"
#include "scenario_tool/draw/label_rules.h"

namespace {

using namespace scenario_tool::drawing;

constexpr label_box area{0, 0, 400, 100};

// A label named `text` at spots given as (x, baseline) pairs, left-aligned.
label_offer offer(std::string text, std::vector<label_spot> spots, int priority = 0,
                  double key = 0) {
  return {.texts = {std::move(text)},
          .area = area,
          .spots = std::move(spots),
          .priority = priority,
          .key = key};
}

bool meet(const label_box& a, const label_box& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

struct placement_case {
  const char* what;
  std::vector<label_offer> offers;
  std::vector<label_box> blocked;
  // Each label written, in the order placed, as text and the left and baseline
  // of the spot it took.
  std::vector<std::tuple<std::string, double, double>> expected;
};

TEST(LabelPlacer, PlacesEachLabelAtItsFirstFreeSpotOrLeavesItOut) {
  const std::vector<placement_case> cases{
      {"two labels that would meet: the second goes to its next lane",
       {offer("MONTESPINO", {{50, 40}, {50, 27}}), offer("PIANO LUNGO", {{60, 40}, {60, 27}})},
       {},
       {{"MONTESPINO", 50, 40}, {"PIANO LUNGO", 60, 27}}},
      {"two labels that would meet with one spot each: the second is left out",
       {offer("MONTESPINO", {{50, 40}}), offer("PIANO LUNGO", {{60, 40}})},
       {},
       {{"MONTESPINO", 50, 40}}},
      {"side by side closer than the gap between labels: left out",
       {offer("AB", {{50, 40}}),
        offer("CD", {{50 + text_width("AB") + label_rules::label_gap - 1, 40}})},
       {},
       {{"AB", 50, 40}}},
      {"side by side with the gap kept: both written",
       {offer("AB", {{50, 40}}),
        offer("CD", {{50 + text_width("AB") + label_rules::label_gap, 40}})},
       {},
       {{"AB", 50, 40}, {"CD", 50 + text_width("AB") + label_rules::label_gap, 40}}},
      {"the lower priority is placed first though offered last",
       {offer("PASSES", {{50, 40}}, 11), offer("STOPS", {{52, 40}}, 10)},
       {},
       {{"STOPS", 52, 40}}},
      {"within one priority the lower chainage first",
       {offer("LATER", {{50, 40}}, 10, 9000), offer("EARLIER", {{52, 40}}, 10, 4000)},
       {},
       {{"EARLIER", 52, 40}}},
      {"a spot that runs past the area's right edge is skipped",
       {offer("TARVO", {{390, 40}, {300, 40}})},
       {},
       {{"TARVO", 300, 40}}},
      {"a spot above the area's top is skipped",
       {offer("TOP", {{50, 5}, {50, 30}})},
       {},
       {{"TOP", 50, 30}}},
      {"a label over a blocked mark takes its next spot",
       {offer("LETTERING", {{50, 40}, {150, 40}})},
       {{60, 35, 70, 45}},
       {{"LETTERING", 150, 40}}},
      {"a label with no spot that fits is left out",
       {offer("NOWHERE", {{-10, 40}, {395, 40}, {50, 200}})},
       {},
       {}},
  };
  for (const placement_case& c : cases) {
    SCOPED_TRACE(c.what);
    label_placer placer;
    for (const label_box& b : c.blocked) placer.block(b);
    for (const label_offer& o : c.offers) placer.offer(o);
    const std::vector<placed_label> placed = placer.place_all();
    ASSERT_EQ(placed.size(), c.expected.size());
    for (std::size_t i = 0; i < placed.size(); ++i) {
      EXPECT_EQ(placed[i].text, std::get<0>(c.expected[i]));
      EXPECT_DOUBLE_EQ(placed[i].box.left, std::get<1>(c.expected[i]));
      EXPECT_DOUBLE_EQ(placed[i].baseline, std::get<2>(c.expected[i]));
    }
  }
}

TEST(LabelPlacer, ShorterTextsAlignmentAndMovingIn) {
  const double w = text_width("END");
  {
    SCOPED_TRACE("a text right-aligned or centred on its spot");
    label_placer placer;
    placer.offer({.texts = {"END"}, .area = area, .spots = {{200, 40, label_align::right}}});
    placer.offer({.texts = {"END"}, .area = area, .spots = {{300, 40, label_align::center}}});
    const auto placed = placer.place_all();
    ASSERT_EQ(placed.size(), 2u);
    EXPECT_DOUBLE_EQ(placed[0].box.right, 200);
    EXPECT_DOUBLE_EQ(placed[1].box.left, 300 - w / 2);
  }
  {
    SCOPED_TRACE("an axis value at the frame moves in, one without shift_in is left out");
    label_placer placer;
    placer.offer({.texts = {"0"}, .area = area, .spots = {{0, 40, label_align::center, true}}});
    placer.offer({.texts = {"90"}, .area = area, .spots = {{400, 60, label_align::center}}});
    const auto placed = placer.place_all();
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_EQ(placed[0].text, "0");
    EXPECT_DOUBLE_EQ(placed[0].box.left, area.left);
  }
  {
    SCOPED_TRACE("the long text where it fits, else the short one at the same spot");
    label_placer placer;
    placer.block({120, 30, 130, 45});
    placer.offer(
        {.texts = {"MORLANO 12:06:00", "MORLANO"}, .area = area, .spots = {{60, 40}, {60, 27}}});
    const auto placed = placer.place_all();
    ASSERT_EQ(placed.size(), 1u);
    // Every spot with the long text comes before the short text.
    EXPECT_EQ(placed[0].text, "MORLANO 12:06:00");
    EXPECT_DOUBLE_EQ(placed[0].baseline, 27);
  }
  {
    SCOPED_TRACE("spots first: the short text before the other side");
    label_placer placer;
    placer.block({130, 30, 140, 45});
    placer.offer({.texts = {"end of line, 91 km", "end of line"},
                  .area = area,
                  .spots = {{60, 40}, {200, 40}},
                  .spots_first = true});
    const auto placed = placer.place_all();
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_EQ(placed[0].text, "end of line");
    EXPECT_DOUBLE_EQ(placed[0].box.left, 60);
  }
  {
    SCOPED_TRACE("a mark outside the area gets no label");
    label_placer placer;
    placer.offer({.texts = {"PAST"}, .area = area, .spots = {{300, 40}}, .mark = 450});
    EXPECT_TRUE(placer.place_all().empty());
  }
}

TEST(LabelPlacer, NoTwoLabelsMeetAmongManyOfferedAtRandom) {
  std::mt19937 random(29);
  std::uniform_real_distribution<double> x(-40, 440), y(-10, 110);
  std::uniform_int_distribution<int> length(1, 24), priority(0, 11);
  std::vector<label_box> blocked;
  label_placer placer;
  for (int i = 0; i < 60; ++i) {
    const double bx = x(random), by = y(random);
    blocked.push_back({bx - 5, by - 5, bx + 5, by + 5});
    placer.block(blocked.back());
  }
  for (int i = 0; i < 1500; ++i) {
    const double sx = x(random), sy = y(random);
    placer.offer({.texts = {std::string(static_cast<std::size_t>(length(random)), 'W'), "I"},
                  .area = area,
                  .spots = {{sx, sy}, {sx, sy - 13, label_align::center, true}},
                  .priority = priority(random),
                  .key = sx});
  }
  const std::vector<placed_label> placed = placer.place_all();
  ASSERT_GT(placed.size(), 20u);
  for (std::size_t i = 0; i < placed.size(); ++i) {
    const label_box& a = placed[i].box;
    EXPECT_TRUE(a.left >= area.left && a.right <= area.right && a.top >= area.top &&
                a.bottom <= area.bottom)
        << placed[i].text << " at " << a.left << ", " << a.top;
    for (std::size_t j = i + 1; j < placed.size(); ++j) {
      EXPECT_FALSE(meet(a, placed[j].box)) << i << " and " << j;
    }
    for (const label_box& b : blocked) EXPECT_FALSE(meet(a, b)) << i << " over a mark";
  }
}

TEST(LabelFont, NeverShortOfWhatChromiumDraws) {
  // Widths Chromium gave these texts of the shipped picture (getBBox, DejaVu
  // Sans at 11 px): the estimate is at least as wide, and not much wider.
  for (const auto& [text, rendered] : {std::pair{"TORRE ALBINA", 82.78},
                                       {"TORRE ALBINA 12:00:00", 135.22},
                                       {"start", 26.31},
                                       {"+y", 16.22},
                                       {"gradient \xE2\x80\xB0", 64.83},
                                       {"right \xE2\x96\xB2 left \xE2\x96\xBC", 71.61},
                                       {"speed point added by the walk", 170.56},
                                       {"MOLINO del CONTE", 106.49}}) {
    SCOPED_TRACE(text);
    EXPECT_GE(text_width(text), rendered);
    EXPECT_LE(text_width(text), rendered * 1.06);
  }
  // A letter beyond ASCII counts once, however many bytes it takes, as wide
  // as the widest when the table does not hold it; a broken sequence counts
  // as wide rather than run past the text's end.
  const double ellipsis = text_width("A\xE2\x80\xA6");
  EXPECT_DOUBLE_EQ(text_width("A\xC3\x88"), ellipsis);
  EXPECT_DOUBLE_EQ(text_width("A\xE2\x80"), ellipsis);
  EXPECT_DOUBLE_EQ(text_width("A\xC3"), ellipsis);
  EXPECT_GT(text_width("A\xE2\x80\xB0"), ellipsis);  // the per mille sign is wider
  EXPECT_DOUBLE_EQ(text_width(""), 0);
  EXPECT_DOUBLE_EQ(text_width("MONTESPINO", 22), 2 * text_width("MONTESPINO", 11));
}

}  // namespace
