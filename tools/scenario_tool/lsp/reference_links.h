// Links from a diagnostic's code to its entry in the format reference for
// authors, the page the tool is installed with, so that an editor can open
// the entry from the diagnostic.
#pragma once

#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace scenario_tool::lsp {

// The format reference beside the tool `program`: the installed page
// (share/doc/... beside the tool's bin folder), else, for a tool run from its
// build tree, the page in the sources it was built from. Nothing when neither
// exists.
std::optional<std::filesystem::path> reference_beside(const std::filesystem::path& program);

// The address of the entry for a diagnostic's `code` (an error code or a
// warning's name) in the page at `reference_uri`: the page's address and the
// anchor of the entry's heading. Nothing when the page has no entry for it.
std::optional<std::string> entry_address(const std::string& reference_uri,
                                         const nlohmann::json& code);

}  // namespace scenario_tool::lsp
