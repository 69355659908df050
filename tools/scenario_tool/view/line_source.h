// What view shows and watches: the page's data made from a scenario folder,
// two texts or a compiled folder, and the files whose saving remakes it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace scenario_tool::view {

struct line_source {
  std::vector<std::string> inputs;  // as draw takes them
  std::string train;                // --train, for a compiled folder
};

struct made_page {
  std::string data_json;    // empty when nothing could be drawn
  std::string title;        // UTF-8
  std::string diagnostics;  // the compile's diagnostics as text, or why nothing was drawn
  std::vector<std::filesystem::path> watched;  // the texts and the manifest, or the compiled files
};

// Throws std::runtime_error for inputs draw refuses too.
made_page make_page(const line_source& source);

}  // namespace scenario_tool::view
