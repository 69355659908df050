#include "platform/window_layout.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct layout_case {
  const char* name;
  int dpi_x;
  int dpi_y;
  int client_width, client_height;
  int left, top, width, height;
  int font_height;
};

void PrintTo(const layout_case& c, std::ostream* out) {
  *out << c.name;
}

class WindowLayout : public ::testing::TestWithParam<layout_case> {};

TEST_P(WindowLayout, TwipsAndPointsBecomePixelsAtTheResolution) {
  const layout_case& c = GetParam();
  const platform::window_layout layout =
      platform::layout_in_pixels(platform::window_design{}, c.dpi_x, c.dpi_y);
  EXPECT_EQ(layout.client_width, c.client_width);
  EXPECT_EQ(layout.client_height, c.client_height);
  EXPECT_EQ(layout.label.left, c.left);
  EXPECT_EQ(layout.label.top, c.top);
  EXPECT_EQ(layout.label.width, c.width);
  EXPECT_EQ(layout.label.height, c.height);
  EXPECT_EQ(layout.font_height, c.font_height);
}

// Worked by hand: 4200 x 2688 twips, the label at 960, 960, 2652 x 792, 24 points.
INSTANTIATE_TEST_SUITE_P(
    Resolutions, WindowLayout,
    ::testing::Values(layout_case{"Dpi72", 72, 72, 210, 134, 48, 48, 133, 40, 24},
                      layout_case{"Dpi96", 96, 96, 280, 179, 64, 64, 177, 53, 32},
                      layout_case{"Dpi120", 120, 120, 350, 224, 80, 80, 221, 66, 40},
                      layout_case{"Dpi144", 144, 144, 420, 269, 96, 96, 265, 79, 48},
                      layout_case{"Dpi192", 192, 192, 560, 358, 128, 128, 354, 106, 64},
                      // Each direction at its own resolution; the font follows the vertical.
                      layout_case{"Dpi96By120", 96, 120, 280, 224, 64, 80, 177, 66, 40}),
    [](const ::testing::TestParamInfo<layout_case>& info) { return std::string(info.param.name); });

TEST(WindowLayout, HalfPixelsRoundAwayFromZeroAndLargeLengthsDoNotOverflow) {
  EXPECT_EQ(platform::twips_to_pixels(15, 48), 1);    // 0.5
  EXPECT_EQ(platform::twips_to_pixels(14, 48), 0);    // 0.47
  EXPECT_EQ(platform::twips_to_pixels(-15, 48), -1);  // -0.5
  EXPECT_EQ(platform::twips_to_pixels(2000000000, 1440), 2000000000);
}

}  // namespace
