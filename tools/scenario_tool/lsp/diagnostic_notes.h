// A compile's notes as the protocol means them: a note that adds to the
// diagnostic before it (the row that took a cell first, what a stop left
// unread) becomes that diagnostic's related information, with its place as a
// location the editor jumps to; a note with nothing before it is published on
// its own as Information. So the editor marks a row by its error, never by
// the note beside it.
#pragma once

#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "scenario_tool/compile/diagnostic.h"

namespace scenario_tool::lsp {

// The Diagnostic[] of the text `uri`; `convert` gives one diagnostic's
// protocol form (its range, severity, message and code).
nlohmann::json with_notes_related(const std::vector<diagnostic>& diagnostics,
                                  const std::string& uri,
                                  const std::function<nlohmann::json(const diagnostic&)>& convert);

}  // namespace scenario_tool::lsp
