// Writing a scenario folder for an author (new, example): every file or
// none, and never over the author's work unless asked.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "scenario_tool/tool.h"

namespace scenario_tool {

// Files by their name in the folder, with their bytes.
using folder_files = std::vector<std::pair<std::filesystem::path, std::string>>;

// Writes `files` into `folder` (created when missing), each by safe
// replacement, and prints their paths. Without `force`, refuses (status 1,
// one line naming the files, nothing written) when any of them exists.
int write_scenario_files(const std::string& command, const std::filesystem::path& folder,
                         const folder_files& files, bool force, const streams& io);

}  // namespace scenario_tool
