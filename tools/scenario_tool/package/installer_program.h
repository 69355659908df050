// The generic installer program (scenario_installer, scenario_installer.exe)
// that `package` joins a scenario to, and where the tool finds it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace scenario_tool {

enum class target_platform { for_linux, for_windows };

// "scenario_installer" or "scenario_installer.exe".
std::string installer_program_name(target_platform platform);

// Where the tool looks, in order, when no --stub is given: beside itself
// (installed, unpacked from an archive, or in its build tree's programs),
// then, when it runs from its build tree, in the build of the preset for
// the platform (build/release/bin, build/windows/bin).
std::vector<std::filesystem::path> installer_program_places(target_platform platform);

// The generic installer's bytes: `stub` when given, else the first of the
// places that exists. Throws std::runtime_error naming the places looked at,
// or why the file is no generic installer for `platform`.
std::string read_installer_program(target_platform platform,
                                   const std::optional<std::filesystem::path>& stub,
                                   std::filesystem::path& found);

}  // namespace scenario_tool
