// Folding by section: each section header folds the rows up to the next
// header (or the text's end).
#pragma once

#include <nlohmann/json.hpp>

#include "scenario_tool/lsp/text_document.h"

namespace scenario_tool::lsp {

// FoldingRange[] of the text's sections.
nlohmann::json section_folds(const text_document& document);

}  // namespace scenario_tool::lsp
