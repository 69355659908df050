// The outline of a text: its sections, and in each the stations, signals,
// slowdowns, signs and speed indicators it holds, by chainage.
#pragma once

#include <nlohmann/json.hpp>

#include "scenario_tool/lsp/analysis.h"
#include "scenario_tool/lsp/text_document.h"

namespace scenario_tool::lsp {

// DocumentSymbol[] of the protocol.
nlohmann::json document_symbols(const analysis& a, model::description_text which,
                                const text_document& document);

}  // namespace scenario_tool::lsp
