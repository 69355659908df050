// Completion of keywords where a row's keyword stands: the keywords of that
// part of the text, each with the values its row reads, in order, as a
// snippet to fill in.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "model/diagnostic_sink.h"
#include "scenario_tool/lsp/text_document.h"

namespace scenario_tool::lsp {

// Whether `at` lies in the line text's header: after its "[generale]" and
// before the first section header that ends it.
bool in_line_header(const text_document& document, text_point at);

// The characters that ask for completion as they are typed: the first
// letters of the keywords, in both cases (a keyword begins its line).
std::vector<std::string> completion_triggers();

// CompletionItem[] at `at`; `snippets` when the editor takes them.
nlohmann::json complete_keywords(const text_document& document, model::description_text which,
                                 text_point at, bool snippets);

}  // namespace scenario_tool::lsp
