// Quick fixes for the diagnostics whose mend is known: a keyword that matches
// no keyword becomes the one within two letters of it, or its lower case
// where the letter case is all that is wrong; a text without "[generale]"
// gets it (in place of a field within two letters of it, or as its first line).
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "model/diagnostic_sink.h"
#include "scenario_tool/lsp/text_document.h"

namespace scenario_tool::lsp {

// CodeAction[] for the editor's `diagnostics` (the request's context) in the
// text `uri`.
nlohmann::json quick_fixes(const text_document& document, model::description_text which,
                           const std::string& uri, const nlohmann::json& diagnostics);

}  // namespace scenario_tool::lsp
