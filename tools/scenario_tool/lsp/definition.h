// Go to definition from a row to the rows that share its cells, in either
// text: the signal or sign that took the cell a row wanted, the slowdown
// whose marker stands there, the station whose approach runs through it.
#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>
#include <string>

#include "scenario_tool/lsp/analysis.h"

namespace scenario_tool::lsp {

// Location[] of the other rows whose cells hold one of the cells of the row
// at `offset` (for a row that landed in none, the cells its chainage names).
// `partner_uri` may be empty: the other text's rows are then left out.
nlohmann::json rows_sharing_cells(const analysis& a, model::description_text which,
                                  std::size_t offset, const std::string& uri,
                                  const std::string& partner_uri);

}  // namespace scenario_tool::lsp
