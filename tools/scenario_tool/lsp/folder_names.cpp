#include "scenario_tool/lsp/folder_names.h"

#include <system_error>

namespace scenario_tool::lsp {

std::set<std::string> list_names(const std::filesystem::path& folder) {
  std::set<std::string> names;
  std::error_code failed;
  std::filesystem::directory_iterator it(folder, failed);
  const std::filesystem::directory_iterator end;
  while (!failed && it != end) {
    std::error_code kind_failed;
    if (it->is_regular_file(kind_failed)) names.insert(it->path().filename().string());
    it.increment(failed);
  }
  return names;
}

const std::set<std::string>& folder_names::in(const std::filesystem::path& folder) {
  const auto found = kept_.find(folder);
  if (found != kept_.end()) return found->second;
  return kept_.emplace(folder, list_names(folder)).first->second;
}

}  // namespace scenario_tool::lsp
