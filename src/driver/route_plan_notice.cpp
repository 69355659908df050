#include "driver/route_plan_notice.h"

#include <algorithm>

#include "assembly/compiled_files.h"
#include "model/file_names.h"
#include "model/windows_1252.h"
#include "platform/file_system.h"
#include "platform/replace_file.h"

namespace driver {
namespace {

std::string utf8_name(const std::filesystem::path& entry) {
  const std::u8string utf8 = entry.filename().u8string();
  return std::string(utf8.begin(), utf8.end());
}

}  // namespace

std::vector<std::string> other_trains_of_route(const std::vector<std::filesystem::path>& entries,
                                               const std::string& route, const std::string& train) {
  std::vector<std::string> trains;
  for (const std::filesystem::path& entry : entries) {
    const auto named = model::read_file_name(utf8_name(entry), route);
    if (named && named->file == model::scenario_file::stations && named->train_number != train) {
      trains.push_back(named->train_number);
    }
  }
  std::sort(trains.begin(), trains.end());
  return trains;
}

std::string route_plan_notice(const model::scenario_model& model,
                              const std::filesystem::path& folder) {
  // The platform's own listing: the standard library's ends the program when
  // memory runs out inside it.
  std::vector<std::filesystem::path> entries;
  try {
    entries = platform::folder_entries(folder);
  } catch (const platform::file_error&) {
    return "";  // a folder that cannot be listed names no train
  }
  const std::string plan_name =
      model::utf8_from_windows_1252(model::file_name(model, model::scenario_file::plan));
  const std::vector<std::string> others =
      other_trains_of_route(entries, model::utf8_from_windows_1252(model.route_id),
                            model::utf8_from_windows_1252(model.train_number));
  const bool plan_there = std::any_of(entries.begin(), entries.end(), [&](const auto& entry) {
    return utf8_name(entry) == plan_name;
  });
  if (others.empty() || !plan_there) return "";

  const std::string plan = assembly::plan_file_bytes(model.plan);
  try {
    const platform::read_bound same_size{plan.size(), "the plan this run writes"};
    if (platform::read_file(folder / std::u8string(plan_name.begin(), plan_name.end()),
                            same_size) == plan) {
      return "";
    }
  } catch (const platform::file_error&) {
    // Larger, or unreadable: it is replaced all the same, so it is said.
  }
  std::string trains;
  for (const std::string& other : others) trains += (trains.empty() ? "" : ", ") + other;
  // Which plan each of them was compiled with is not recorded: each may follow the former.
  return "The track plan " + plan_name +
         " now follows this train's line text, another than the one it followed; the route's " +
         (others.size() == 1 ? "train " : "trains ") + trains + " installed here may follow the " +
         "former one: install " + (others.size() == 1 ? "it" : "them") + " again.";
}

}  // namespace driver
