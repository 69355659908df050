#include "scenario_tool/shared/windows_1252.h"

#include "model/windows_1252.h"

namespace scenario_tool {

std::string utf8_from_windows_1252(std::string_view text) {
  // Control characters other than tab are shown as U+FFFD, as the code
  // page's undefined bytes are.
  std::string shown(text);
  for (char& c : shown) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte < 0x20 && byte != '\t') || byte == 0x7F) c = '\x81';  // an undefined byte
  }
  return model::utf8_from_windows_1252(shown);
}

}  // namespace scenario_tool
