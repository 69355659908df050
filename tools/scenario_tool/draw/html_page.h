// The interactive page of a line: one self-contained HTML document whose
// script and style are carried by the tool, with the line's data inside it.
#pragma once

#include <string>
#include <string_view>

namespace scenario_tool {

// The page with `data_json` (from page_json) inside it. `live` adds the
// script that follows the server's reload events (view); a written file
// (draw --html) has none and needs no network.
std::string html_page(std::string_view data_json, std::string_view title, bool live);

}  // namespace scenario_tool
