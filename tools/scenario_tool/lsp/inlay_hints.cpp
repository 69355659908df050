#include "scenario_tool/lsp/inlay_hints.h"

#include <algorithm>
#include <string>
#include <vector>

#include "scenario_tool/lsp/row_facts.h"

namespace scenario_tool::lsp {

nlohmann::json landing_hints(const analysis& a, model::description_text which,
                             const text_document& document, std::size_t first, std::size_t last) {
  nlohmann::json hints = nlohmann::json::array();
  const source_text& text = text_of(a, which);
  for (const read_row& row : a.rows.rows(which)) {
    if (row.fields.empty() || row.cells.empty()) continue;
    const std::size_t line = document.point(row.fields.front()).line;
    if (line < first) continue;
    if (line > last) break;
    std::vector<std::int64_t> cells = row.cells;
    std::sort(cells.begin(), cells.end());
    cells.erase(std::unique(cells.begin(), cells.end()), cells.end());
    std::string label = cells.size() == 1 ? "→ cell " + std::to_string(cells.front())
                                          : "→ cells " + std::to_string(cells.front()) + "–" +
                                                std::to_string(cells.back());
    if (const std::optional<std::int64_t> p = row_chainage(a, row))
      label += " · " + post_kilometres(a, *p);
    std::vector<std::int64_t> placed;
    for (const std::int64_t c : cells) {
      for (const std::int64_t w : a.rows.walk_cells(c)) placed.push_back(w);
    }
    std::sort(placed.begin(), placed.end());
    placed.erase(std::unique(placed.begin(), placed.end()), placed.end());
    if (!placed.empty()) {
      label += placed.size() == 1 ? " · speed point added: cell " : " · speed points added: cells ";
      for (std::size_t i = 0; i < placed.size(); ++i) {
        label += (i == 0 ? "" : ", ") + std::to_string(placed[i]);
      }
    }
    const text_point end = document.point(std::max(row.fields.front(), row_end(text, row)));
    hints.push_back({{"position", {{"line", end.line}, {"character", end.character}}},
                     {"label", label},
                     {"paddingLeft", true}});
  }
  return hints;
}

}  // namespace scenario_tool::lsp
