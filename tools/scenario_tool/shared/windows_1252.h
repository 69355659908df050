// Names in the compiled files are single-byte Windows-1252 texts; the tool
// shows them as UTF-8, for terminals, JSON and SVG alike.
#pragma once

#include <string>
#include <string_view>

namespace scenario_tool {

// Each byte decoded from Windows-1252 and encoded as UTF-8. The five bytes
// the code page leaves undefined, and control characters other than tab,
// which XML and JSON texts cannot carry as they stand, become U+FFFD.
std::string utf8_from_windows_1252(std::string_view text);

}  // namespace scenario_tool
