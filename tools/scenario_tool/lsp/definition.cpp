#include "scenario_tool/lsp/definition.h"

#include <algorithm>
#include <set>

#include "reader/cell_rules.h"
#include "scenario_tool/lsp/row_facts.h"
#include "scenario_tool/lsp/text_document.h"

namespace scenario_tool::lsp {

nlohmann::json rows_sharing_cells(const analysis& a, model::description_text which,
                                  std::size_t offset, const std::string& uri,
                                  const std::string& partner_uri) {
  nlohmann::json out = nlohmann::json::array();
  const read_row* self = row_at(a, which, offset);
  if (self == nullptr) return out;
  std::set<std::int64_t> cells(self->cells.begin(), self->cells.end());
  if (cells.empty()) {
    // A row that took no cell (its cell was taken): the cell its chainage
    // lands in, by its kind's rule (cell_rules.h).
    const std::optional<std::int64_t> x = row_chainage(a, *self);
    const std::vector<keyword_rule> kinds = row_keywords(a, *self);
    if (!x || kinds.size() != 1) return out;
    using reader::row_kind;
    const row_kind kind = kinds.front().entry->kind;
    const bool after = kind == row_kind::signal || kind == row_kind::sign ||
                       kind == row_kind::speed_indicators || kind == row_kind::slowdown;
    const double chainage = static_cast<double>(*x);
    cells = {after ? reader::cell_after(chainage) : reader::cell_at(chainage)};
  }
  for (const model::description_text text :
       {model::description_text::line, model::description_text::train}) {
    const std::string& target = text == which ? uri : partner_uri;
    if (target.empty()) continue;
    const source_text& source = text_of(a, text);
    const text_document document(source.bytes());
    for (const read_row& row : a.rows.rows(text)) {
      if (&row == self || row.fields.empty()) continue;
      if (std::none_of(row.cells.begin(), row.cells.end(),
                       [&](std::int64_t c) { return cells.count(c) != 0; })) {
        continue;
      }
      const text_point from = document.point(row.fields.front());
      const text_point to = document.point(std::max(row.fields.front(), row_end(source, row)));
      out.push_back({{"uri", target},
                     {"range",
                      {{"start", {{"line", from.line}, {"character", from.character}}},
                       {"end", {{"line", to.line}, {"character", to.character}}}}}});
    }
  }
  return out;
}

}  // namespace scenario_tool::lsp
