#include "scenario_tool/draw/label_font.h"

#include <array>
#include <cstdint>

namespace scenario_tool::drawing {

namespace {

// DejaVu Sans's advances of ' ' to '~' in thousandths of an em, as Chromium
// lays them out, rounded up.
constexpr std::array<std::uint16_t, 95> ascii_advance{
    318,  401, 460, 838, 637, 951, 780, 275, 391, 391, 500, 838, 318, 361, 318, 337,  //
    637,  637, 637, 637, 637, 637, 637, 637, 637, 637, 337, 337, 838, 838, 838, 531,  //
    1000, 705, 687, 699, 771, 632, 576, 775, 752, 295, 295, 656, 558, 863, 749, 788,  //
    604,  788, 695, 635, 611, 732, 685, 989, 686, 611, 686, 391, 337, 391, 838, 500,  //
    500,  613, 635, 550, 635, 616, 353, 635, 634, 278, 278, 580, 278, 975, 634, 612,  //
    635,  635, 398, 521, 393, 634, 592, 818, 592, 592, 525, 637, 337, 637, 838,
};

// The few signs beyond ASCII that the picture writes itself; any other letter
// (an accented name) is taken as wide as the widest capital.
std::uint16_t advance_beyond_ascii(char32_t c) {
  switch (c) {
    case U'‰':
      return 1342;
    case U'▲':
    case U'▼':
      return 770;
    case U'—':
    case U'…':
      return 1000;
    case U'·':
      return 318;
    case U'−':
      return 838;
    default:
      return 1000;
  }
}

}  // namespace

double text_width(std::string_view utf8, double size) {
  double thousandths = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    if (lead < 0x80) {
      thousandths += lead >= 0x20 && lead < 0x7F ? ascii_advance[lead - 0x20] : 1000;
      ++i;
      continue;
    }
    // A multi-byte letter: its code point from the lead byte and the
    // continuation bytes that follow it (a broken sequence counts as wide).
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    char32_t c = length == 4 ? lead & 0x07 : length == 3 ? lead & 0x0F : lead & 0x1F;
    std::size_t j = 1;
    for (; j < length && i + j < utf8.size(); ++j) {
      const auto next = static_cast<unsigned char>(utf8[i + j]);
      if ((next & 0xC0) != 0x80) break;
      c = (c << 6) | (next & 0x3F);
    }
    thousandths += j == length && length > 1 ? advance_beyond_ascii(c) : 1000;
    i += j;
  }
  if (thousandths == 0) return 0;
  // Chromium lays small sizes out up to 1.2 % and a pixel wider than the
  // font's own advances (measured against its getBBox): the estimate keeps
  // that much more.
  return thousandths / 1000 * size * 1.015 + 0.1 * size;
}

}  // namespace scenario_tool::drawing
