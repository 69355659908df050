// Semantic tokens for highlighting: each field of a line by what the reader
// makes of it, read from the line's start as a row: a section header, a
// keyword and its values (numbers, values with a unit, texts such as a
// station's name), a comment, or a field that names no keyword and that the
// reader skips.
#pragma once

#include <nlohmann/json.hpp>

#include "model/diagnostic_sink.h"
#include "scenario_tool/lsp/text_document.h"

namespace scenario_tool::lsp {

// The legend the server announces: token types and modifiers, by index.
nlohmann::json semantic_token_legend();

// SemanticTokens ({"data": [...]}) of the whole text.
nlohmann::json semantic_tokens(const text_document& document, model::description_text which);

}  // namespace scenario_tool::lsp
