#include "platform/window_layout.h"

#include <cstdint>

namespace platform {
namespace {

// value * numerator / denominator, rounded to the nearest whole number, halves
// away from zero, computed wide so that no product overflows.
int scale(int value, int numerator, int denominator) {
  const std::int64_t product = static_cast<std::int64_t>(value) * numerator;
  const std::int64_t half = denominator / 2;
  const std::int64_t rounded =
      product >= 0 ? (product + half) / denominator : (product - half) / denominator;
  return static_cast<int>(rounded);
}

}  // namespace

int twips_to_pixels(int twips, int dpi) {
  return scale(twips, dpi, 1440);
}

window_layout layout_in_pixels(const window_design& design, int dpi_x, int dpi_y) {
  window_layout layout;
  layout.client_width = twips_to_pixels(design.client_width, dpi_x);
  layout.client_height = twips_to_pixels(design.client_height, dpi_y);
  layout.label.left = twips_to_pixels(design.label_left, dpi_x);
  layout.label.top = twips_to_pixels(design.label_top, dpi_y);
  layout.label.width = twips_to_pixels(design.label_width, dpi_x);
  layout.label.height = twips_to_pixels(design.label_height, dpi_y);
  layout.font_height = scale(design.label_font_points, dpi_y, 72);
  return layout;
}

}  // namespace platform
