#include "scenario_tool/new/scenario_files.h"

#include <ostream>
#include <system_error>
#include <vector>

#include "platform/replace_file.h"
#include "scenario_tool/shared/failure_words.h"
#include "scenario_tool/shared/output_file.h"

namespace scenario_tool {

int write_scenario_files(const std::string& command, const std::filesystem::path& folder,
                         const folder_files& files, bool force, const streams& io) {
  if (!force) {
    std::vector<std::string> taken;
    for (const auto& [name, bytes] : files) {
      std::error_code ec;
      const auto type = std::filesystem::symlink_status(folder / name, ec).type();
      if (type != std::filesystem::file_type::not_found &&
          type != std::filesystem::file_type::none) {
        taken.push_back((folder / name).string());
      }
    }
    if (!taken.empty()) {
      // "A already exists", "A and B already exist", "A, B and C already exist".
      std::string names = taken.front();
      for (std::size_t i = 1; i < taken.size(); ++i) {
        names += (i + 1 == taken.size() ? " and " : ", ") + taken[i];
      }
      io.err << "scenario_tool " << command << ": " << names
             << (taken.size() == 1 ? " already exists" : " already exist")
             << ": nothing written (give --force to replace " << (taken.size() == 1 ? "it" : "them")
             << ")\n";
      return status_failed;
    }
  }
  // The files this run adds (none stood at their names): a run that fails
  // part way (a full disk) takes them away again, so that the folder is as it
  // was and the next run is not refused for them.
  std::vector<std::filesystem::path> added;
  try {
    std::filesystem::create_directories(folder);
    // Every name is checked before the first is written: all files or none.
    for (const auto& [name, bytes] : files) check_output_name(folder / name);
    for (const auto& [name, bytes] : files) {
      std::error_code ec;
      const bool stood = std::filesystem::symlink_status(folder / name, ec).type() !=
                         std::filesystem::file_type::not_found;
      platform::replace_file(folder / name, bytes);
      if (!stood) added.push_back(folder / name);
    }
  } catch (const std::exception& failure) {
    for (const std::filesystem::path& file : added) {
      std::error_code ec;
      std::filesystem::remove(file, ec);
    }
    io.err << "scenario_tool " << command << ": " << failure_words(failure) << '\n';
    return status_failed;
  }
  for (const auto& [name, bytes] : files) io.out << (folder / name).string() << '\n';
  return status_ok;
}

}  // namespace scenario_tool
