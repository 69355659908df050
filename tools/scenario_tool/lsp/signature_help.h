// Signature help inside a row: the values its keyword reads as parameters,
// each with its name and unit from the reader's keyword table, and the one the
// cursor is in marked, counted as the reader counts fields (a comma or a line
// end ends a field; blanks also part numbers, so "11  29  30" is three).
#pragma once

#include <nlohmann/json.hpp>

#include "model/diagnostic_sink.h"
#include "scenario_tool/lsp/text_document.h"

namespace scenario_tool::lsp {

// SignatureHelp at `at`, or null where no row's values are being written (on
// the keyword, a comment, a line that names no keyword, or past the row's
// last value).
nlohmann::json signature_help_at(const text_document& document, model::description_text which,
                                 text_point at);

}  // namespace scenario_tool::lsp
