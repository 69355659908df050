#include "scenario_tool/shared/manifest_paths.h"

#include <algorithm>
#include <system_error>

namespace scenario_tool {

namespace {

// `inner` is `outer` or lies below it (both made absolute and free of links).
bool lies_within(const std::filesystem::path& inner, const std::filesystem::path& outer) {
  auto in = inner.begin();
  for (auto out = outer.begin(); out != outer.end(); ++out, ++in) {
    if (out->empty()) continue;  // the empty last part of "folder/"
    if (in == inner.end() || *in != *out) return false;
  }
  return true;
}

}  // namespace

std::optional<std::string> outside_folder(const std::filesystem::path& folder,
                                          const std::filesystem::path& name) {
  if (name.has_root_name() || name.has_root_directory()) {
    return "is an absolute path, outside the scenario folder";
  }
  if (std::any_of(name.begin(), name.end(),
                  [](const std::filesystem::path& part) { return part == ".."; })) {
    return "goes up through \"..\", outside the scenario folder";
  }
  // Links on the way are followed as a read would follow them.
  std::error_code failed;
  const std::filesystem::path own = std::filesystem::weakly_canonical(folder, failed);
  if (failed) return std::nullopt;
  const std::filesystem::path file = std::filesystem::weakly_canonical(folder / name, failed);
  if (failed) return std::nullopt;
  if (!lies_within(file, own)) {
    return "leads through a link to " + file.string() + ", outside the scenario folder";
  }
  return std::nullopt;
}

}  // namespace scenario_tool
