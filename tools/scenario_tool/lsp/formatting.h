// Formatting for the editor: the same alignment as `scenario_tool fmt`, as
// one edit for each line that changes, so that the editor keeps its cursor
// and its marks on the lines that do not.
#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>

#include "scenario_tool/lsp/text_document.h"

namespace scenario_tool::lsp {

// The protocol's TextEdit list for the lines `first` to `last` (from 0, both
// included) of `document`; the columns are those of the whole text, so a
// range formats its rows as the whole text would. An empty list when the
// aligned text would be longer than a description text may be.
nlohmann::json formatting_edits(const text_document& document, std::size_t first, std::size_t last);

}  // namespace scenario_tool::lsp
