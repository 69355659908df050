// Inlay hints that name each value of a row before it (`chainage:`,
// `speed:`), in the words of the reader's keyword table: an author's choice,
// off unless the editor's settings ask for them.
#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>

#include "scenario_tool/lsp/analysis.h"
#include "scenario_tool/lsp/text_document.h"

namespace scenario_tool::lsp {

// The setting that asks for them, as the editor sends its settings (in the
// initialisation's options or a change of configuration): whether the
// settings turn them on, or nothing when they do not say.
std::optional<bool> value_names_setting(const nlohmann::json& settings);

// InlayHint[] before each value the reader read for the rows whose keyword
// stands on the lines `first` to `last` (from 0, both included).
nlohmann::json value_name_hints(const analysis& a, model::description_text which,
                                const text_document& document, std::size_t first, std::size_t last);

}  // namespace scenario_tool::lsp
