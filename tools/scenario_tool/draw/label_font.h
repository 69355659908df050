// The one font the picture's labels are written in, and how wide a text in
// it is. C++ has no font metrics at hand, so widths are estimated from the
// font's own advances, kept here and nowhere else.
#pragma once

#include <string_view>

namespace scenario_tool::drawing {

// DejaVu Sans (Debian ships it and Chromium draws the SVG with it here); the
// other families follow only where it is missing.
inline constexpr std::string_view label_font_family = "DejaVu Sans, Arial, Helvetica, sans-serif";
inline constexpr double label_font_size = 11;  // px, every placed label
// The font's line box, in ems: its ascent above and descent below the baseline.
inline constexpr double font_ascent = 0.928;
inline constexpr double font_descent = 0.236;

// The width of a UTF-8 text at `size` px, never short of what a browser
// draws (kerning only narrows a text; a letter outside the table counts as
// one of the widest).
double text_width(std::string_view utf8, double size = label_font_size);

}  // namespace scenario_tool::drawing
