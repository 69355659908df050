// The files a scenario manifest names lie inside its folder: a name that is
// absolute, goes up through "..", or leads out of the folder through a link
// is no file of the scenario. compile, draw, package and the language server
// all take a manifest's names through this one rule, so that no command reads
// (and no installer carries) a file from elsewhere.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace scenario_tool {

// Why `name`, as a manifest gives it, is not a file inside `folder`; nothing
// when it is (or when it does not exist yet: reading it then fails by itself).
std::optional<std::string> outside_folder(const std::filesystem::path& folder,
                                          const std::filesystem::path& name);

}  // namespace scenario_tool
