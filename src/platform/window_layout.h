// The wait window's design turned into screen pixels for a given resolution:
// twips are 1/1440 of an inch, points 1/72 of an inch.
#pragma once

#include "platform/platform.h"

namespace platform {

struct pixel_rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

struct window_layout {
  int client_width = 0;
  int client_height = 0;
  pixel_rect label;
  // The font's character height in pixels (the em size, without internal leading).
  int font_height = 0;
};

// Horizontal lengths use the horizontal resolution, vertical ones and the font
// the vertical one (dots per inch); halves round away from zero.
window_layout layout_in_pixels(const window_design& design, int dpi_x, int dpi_y);

// One length in twips at a resolution, in whole pixels.
int twips_to_pixels(int twips, int dpi);

}  // namespace platform
