// Inlay hints: after each row that puts an object on the line, where it
// landed (`→ cell 64 · km 3+150`), and the speed points the walk added for it.
#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>

#include "scenario_tool/lsp/analysis.h"
#include "scenario_tool/lsp/text_document.h"

namespace scenario_tool::lsp {

// InlayHint[] for the rows whose keyword stands on the lines `first` to
// `last` (from 0, both included).
nlohmann::json landing_hints(const analysis& a, model::description_text which,
                             const text_document& document, std::size_t first, std::size_t last);

}  // namespace scenario_tool::lsp
