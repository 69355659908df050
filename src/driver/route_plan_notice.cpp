#include "driver/route_plan_notice.h"

#include <algorithm>
#include <system_error>

#include "assembly/compiled_files.h"
#include "model/windows_1252.h"
#include "platform/replace_file.h"

namespace driver {

std::vector<std::string> other_trains_of_route(const std::filesystem::path& folder,
                                               const std::string& route, const std::string& train) {
  const std::string prefix = route + "_";
  const std::string suffix = ".sim";
  std::vector<std::string> trains;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
       it.increment(ec)) {
    const std::u8string utf8 = it->path().filename().u8string();
    const std::string name(utf8.begin(), utf8.end());
    if (name.size() <= prefix.size() + suffix.size() || !name.starts_with(prefix) ||
        !name.ends_with(suffix)) {
      continue;
    }
    std::string other = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    if (other != train) trains.push_back(std::move(other));
  }
  std::sort(trains.begin(), trains.end());
  return trains;
}

std::string route_plan_notice(const model::scenario_model& model,
                              const std::filesystem::path& plan_file) {
  const std::string route = model::utf8_from_windows_1252(model.route_id);
  const std::vector<std::string> others = other_trains_of_route(
      plan_file.parent_path(), route, model::utf8_from_windows_1252(model.train_number));
  if (others.empty()) return "";
  std::error_code ec;
  if (!std::filesystem::is_regular_file(plan_file, ec)) return "";
  const std::string plan = assembly::plan_file_bytes(model.plan);
  const std::uintmax_t size = std::filesystem::file_size(plan_file, ec);
  if (!ec && size == plan.size()) {
    try {
      if (platform::read_file(plan_file) == plan) return "";
    } catch (const std::exception&) {
      // Unreadable: it is replaced all the same, so it is said.
    }
  }
  std::string trains;
  for (const std::string& other : others) trains += (trains.empty() ? "" : ", ") + other;
  // Which plan each of them was compiled with is not recorded: they may.
  return "The track plan " + model::utf8_from_windows_1252(assembly::plan_file_name(model)) +
         " now follows this train's line text, another than the one it followed; the route's " +
         (others.size() == 1 ? "train " : "trains ") + trains + " installed here may follow the " +
         "former one: install " + (others.size() == 1 ? "it" : "them") + " again.";
}

}  // namespace driver
