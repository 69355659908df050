#include "scenario_tool/package/installer_program.h"

#include <cstdint>
#include <stdexcept>
#include <system_error>

#include "platform/platform.h"
#include "platform/replace_file.h"
#include "scenari/carried_scenario.h"
#include "scenari/generic_installer_mark.h"

namespace scenario_tool {

namespace {

// A program file of the platform (an ELF file, or a Windows "MZ" program)
// that carries the generic installer's mark for that platform.
bool is_generic_installer_for(target_platform platform, const std::string& bytes) {
  const bool program = platform == target_platform::for_linux ? bytes.starts_with(
                                                                    "\x7F"
                                                                    "ELF")
                                                              : bytes.starts_with("MZ");
  const std::string mark =
      scenari::generic_installer_mark(platform == target_platform::for_linux ? "linux" : "windows");
  return program && bytes.find(mark) != std::string::npos;
}

// The generic installer is a few megabytes; a file far larger is not one, and
// is refused by its size before it is read.
constexpr platform::read_bound generic_installer_bound{std::uint64_t{64} << 20,
                                                       "a generic installer"};

const char* platform_name(target_platform platform) {
  return platform == target_platform::for_linux ? "Linux" : "Windows";
}

}  // namespace

std::string installer_program_name(target_platform platform) {
  return platform == target_platform::for_linux ? "scenario_installer" : "scenario_installer.exe";
}

std::vector<std::filesystem::path> installer_program_places(target_platform platform) {
  const std::string name = installer_program_name(platform);
  std::vector<std::filesystem::path> places;
  const auto add = [&](const std::filesystem::path& place) {
    for (const auto& known : places) {
      if (known == place) return;
    }
    places.push_back(place);
  };
  std::filesystem::path own_folder;
  try {
    own_folder = platform::running_program_file().parent_path();
    add(own_folder / name);
  } catch (const std::exception&) {
    // No folder of its own to look in: the build tree and --stub remain.
  }
#if defined(SCENARIO_TOOL_BUILD_PROGRAMS) && defined(SCENARIO_TOOL_BUILD_TREES)
  // Run from the build tree it was built in: the presets' builds beside it
  // (release and windows build into build/release and build/windows). An
  // installed or unpacked tool looks beside itself only.
  std::error_code ec;
  if (std::filesystem::equivalent(own_folder, SCENARIO_TOOL_BUILD_PROGRAMS, ec)) {
    const char* preset = platform == target_platform::for_linux ? "release" : "windows";
    add(std::filesystem::path(SCENARIO_TOOL_BUILD_TREES) / preset / "bin" / name);
  }
#endif
  return places;
}

std::string read_installer_program(target_platform platform,
                                   const std::optional<std::filesystem::path>& stub,
                                   std::filesystem::path& found) {
  if (stub) {
    found = *stub;
  } else {
    const std::vector<std::filesystem::path> places = installer_program_places(platform);
    std::string looked;
    for (const auto& place : places) {
      std::error_code ec;
      if (std::filesystem::is_regular_file(place, ec)) {
        found = place;
        break;
      }
      looked += (looked.empty() ? "" : ", ") + place.string();
    }
    if (found.empty()) {
      throw std::runtime_error("no " + installer_program_name(platform) +
                               " (the generic installer for " + platform_name(platform) +
                               ") found in " + looked + ": give --stub FILE");
    }
  }
  std::string bytes = platform::read_file(found, generic_installer_bound);
  if (!is_generic_installer_for(platform, bytes)) {
    throw std::runtime_error(found.string() + " is not the generic installer for " +
                             platform_name(platform) + " (" + installer_program_name(platform) +
                             ")");
  }
  try {
    scenari::unseal_scenario(bytes);
  } catch (const scenari::damaged_installer&) {
    return bytes;  // it carries no scenario of its own, as a generic installer
  }
  throw std::runtime_error(found.string() +
                           " already carries a scenario: give the generic installer, " +
                           installer_program_name(platform));
}

}  // namespace scenario_tool
