#include "scenario_tool/lsp/formatting.h"

#include "scenario_tool/fmt/row_alignment.h"
#include "scenario_tool/shared/windows_1252.h"

namespace scenario_tool::lsp {

nlohmann::json formatting_edits(const text_document& document, std::size_t first,
                                std::size_t last) {
  nlohmann::json edits = nlohmann::json::array();
  const std::vector<text_line> lines = text_lines(document.bytes());
  const std::optional<std::vector<std::string>> aligned = aligned_lines(document.bytes());
  if (!aligned) return edits;
  for (std::size_t n = first; n <= last && n < lines.size(); ++n) {
    if ((*aligned)[n] == lines[n].content) continue;
    const text_point from = document.point(lines[n].begin);
    const text_point to = document.point(lines[n].begin + lines[n].content.size());
    edits.push_back({{"range",
                      {{"start", {{"line", from.line}, {"character", from.character}}},
                       {"end", {{"line", to.line}, {"character", to.character}}}}},
                     {"newText", utf8_from_windows_1252((*aligned)[n])}});
  }
  return edits;
}

}  // namespace scenario_tool::lsp
