#include "scenario_tool/lsp/folding.h"

#include <optional>

namespace scenario_tool::lsp {
namespace {

// A section header: a line whose first field is a bracketed name.
bool is_header(std::string_view line) {
  const std::size_t first = line.find_first_not_of(" \t");
  if (first == std::string_view::npos || line[first] != '[') return false;
  const std::size_t close = line.find(']', first);
  return close != std::string_view::npos &&
         line.substr(first, close - first).find(',') == std::string_view::npos;
}

}  // namespace

nlohmann::json section_folds(const text_document& document) {
  nlohmann::json folds = nlohmann::json::array();
  std::optional<std::size_t> open;
  std::size_t last_text = 0;  // the last line that holds anything
  const auto close = [&]() {
    if (open && last_text > *open) {
      folds.push_back({{"startLine", *open}, {"endLine", last_text}, {"kind", "region"}});
    }
  };
  for (std::size_t l = 0; l < document.line_count(); ++l) {
    const std::string_view line = document.line(l);
    if (is_header(line)) {
      close();
      open = l;
      last_text = l;
    } else if (line.find_first_not_of(" \t") != std::string_view::npos) {
      last_text = l;
    }
  }
  close();
  return folds;
}

}  // namespace scenario_tool::lsp
