// Hover on a row: its keyword as the reader sees it, each value with its name
// and unit, the chainage in km and metres, the cell it lands in, and what the
// compile put into the cells of its object; on a keyword that matches
// nothing, the nearest keyword.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "scenario_tool/lsp/analysis.h"

namespace scenario_tool::lsp {

struct hover_text {
  std::string markdown;
  std::size_t from = 0;  // the row's span in its text
  std::size_t to = 0;
};

std::optional<hover_text> hover_at(const analysis& a, model::description_text which,
                                   std::size_t offset);

}  // namespace scenario_tool::lsp
