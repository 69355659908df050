// The names of the files in the folders of the open texts, listed once and
// kept: a change to a text pairs it again without listing its folder (a folder
// of many thousand files would make every keystroke wait). A folder is listed
// again when a text in it is opened or saved, the moments a new text appears.
#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>

namespace scenario_tool::lsp {

class folder_names {
 public:
  // The own names of the regular files in `folder` (none when it cannot be
  // listed), as listed when last asked for since its last refresh.
  const std::set<std::string>& in(const std::filesystem::path& folder);
  // The folder is listed again when next asked for.
  void refresh(const std::filesystem::path& folder) { kept_.erase(folder); }

 private:
  std::map<std::filesystem::path, std::set<std::string>> kept_;
};

// The own names of the regular files in `folder`, listed now.
std::set<std::string> list_names(const std::filesystem::path& folder);

}  // namespace scenario_tool::lsp
