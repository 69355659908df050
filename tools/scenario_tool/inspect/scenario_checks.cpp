#include "scenario_tool/inspect/scenario_checks.h"

#include <system_error>

#include "assembly/check_codes.h"
#include "assembly/header_stamps.h"
#include "model/file_names.h"
#include "platform/replace_file.h"
#include "scenario_tool/shared/record_fields.h"

namespace scenario_tool {

using assembly::decode;
using assembly::decoded_file;
using assembly::file_kind;
using assembly::last_cell_of_line;

namespace {

check_result compare(std::string what, std::int64_t found, std::int64_t expected,
                     std::string basis = {}) {
  return {std::move(what), std::to_string(found), std::to_string(expected), std::move(basis),
          found == expected};
}

check_result missing(std::string what, std::string why) {
  return {std::move(what), "missing", "", std::move(why), false};
}

// "R_T.dat" or "R_T.sim": the route before the last "_", the train after it.
std::optional<scenario_names> names_from_file_name(const std::filesystem::path& file) {
  const std::string own_name = file.filename().string();
  const auto named = model::read_file_name(own_name);
  if (!named || (named->file != model::scenario_file::cells &&
                 named->file != model::scenario_file::stations)) {
    return std::nullopt;
  }
  return scenario_names{named->route_id, named->train_number, "the file name " + own_name};
}

std::optional<decoded_file> try_decode(const std::filesystem::path& file, file_kind kind) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return std::nullopt;
  try {
    return assembly::read_compiled_file(file, kind);
  } catch (const std::exception&) {
    return std::nullopt;  // a companion that cannot be read checks nothing
  }
}

// The route and train whose check codes a file must carry.
std::optional<scenario_names> names_for(const decoded_file& file,
                                        const std::filesystem::path& file_path,
                                        const companion_files& companions) {
  const auto from_table = [](const std::vector<model::station_entry>& table,
                             std::string source) -> std::optional<scenario_names> {
    if (table.size() != static_cast<std::size_t>(model::station_count)) return std::nullopt;
    return scenario_names{table[model::entry::route_header].name,
                          table[model::entry::train_header].name, std::move(source)};
  };
  if (file.kind == file_kind::stations) return from_table(file.stations, "the names in the file");
  if (companions.stations) {
    return from_table(companions.stations->stations,
                      "the names in " + companions.stations_path.filename().string());
  }
  return names_from_file_name(file_path);
}

std::string code_basis(const scenario_names& names) {
  return "train " + quoted_name(names.train_number) + " and route " + quoted_name(names.route_id) +
         ", from " + names.source;
}

// The line length as a companion gives it: the plan's size, else entry 84.
std::optional<std::pair<std::int64_t, std::string>> line_length_of(
    const companion_files& companions) {
  if (companions.plan) {
    return std::pair<std::int64_t, std::string>{
        companions.plan->line_length, "the size of " + companions.plan_path.filename().string()};
  }
  if (companions.stations) {
    return std::pair<std::int64_t, std::string>{
        companions.stations->stations[model::entry::train_data].end,
        "station 84 end in " + companions.stations_path.filename().string()};
  }
  return std::nullopt;
}

}  // namespace

std::string check_line(const check_result& check) {
  std::string line = check.what + ": " + check.found;
  if (check.expected.empty()) {
    line += check.ok ? "" : ": MISMATCH";
    if (!check.basis.empty()) line += " (" + check.basis + ")";
    return line;
  }
  if (check.ok) {
    line += ", ok";
  } else {
    line += ", expected " + check.expected;
  }
  if (!check.basis.empty()) line += " (" + check.basis + ")";
  if (!check.ok) line += ": MISMATCH";
  return line;
}

companion_files find_companions(const std::filesystem::path& file, file_kind kind) {
  companion_files found;
  const std::filesystem::path folder = file.parent_path();
  std::string route;
  std::string stations_name;
  if (kind == file_kind::plan) {
    const auto named = model::read_file_name(file.filename().string());
    if (named && named->file == model::scenario_file::plan) route = named->route_id;
    // The plan's name holds no train number: a single station table of the
    // route beside it is the one.
    std::error_code ec;
    int tables = 0;
    for (const auto& entry : std::filesystem::directory_iterator(
             folder.empty() ? std::filesystem::path(".") : folder, ec)) {
      const std::string other = entry.path().filename().string();
      const auto table = model::read_file_name(other, route);
      if (table && table->file == model::scenario_file::stations) {
        ++tables;
        stations_name = other;
      }
    }
    if (tables != 1) stations_name.clear();
  } else if (const auto names = names_from_file_name(file)) {
    route = names->route_id;
    stations_name = model::file_name({route, names->train_number}, model::scenario_file::stations);
  }
  if (route.empty()) return found;
  if (kind != file_kind::plan) {
    found.plan_path = folder / model::file_name({route, {}}, model::scenario_file::plan);
    found.plan = try_decode(found.plan_path, file_kind::plan);
  }
  if (kind != file_kind::stations && !stations_name.empty()) {
    found.stations_path = folder / stations_name;
    found.stations = try_decode(found.stations_path, file_kind::stations);
  }
  return found;
}

std::vector<check_result> header_checks(const decoded_file& file,
                                        const std::filesystem::path& file_path,
                                        const companion_files& companions) {
  std::vector<check_result> checks;
  const std::optional<scenario_names> names = names_for(file, file_path, companions);
  switch (file.kind) {
    case file_kind::stations: {
      const model::station_entry& route = file.stations[model::entry::route_header];
      checks.push_back(compare("format tag (station 85 group1_a)", route.group1_a,
                               assembly::station_format_tag));
      checks.push_back(compare("weighted check code (station 85 time)", route.time,
                               assembly::weighted_check_code(names->train_number, names->route_id),
                               code_basis(*names)));
      if (companions.plan) {
        checks.push_back(compare("line length (station 84 end)",
                                 file.stations[model::entry::train_data].end,
                                 companions.plan->line_length,
                                 "the size of " + companions.plan_path.filename().string()));
      }
      break;
    }
    case file_kind::cells: {
      if (file.cells.size() < 2) {
        checks.push_back(missing("format tag (cell 1 value)", "the file has no cell 1"));
        checks.push_back(missing("plain check code (cell 1 value2)", "the file has no cell 1"));
      } else {
        const model::track_cell& header = file.cells[1];
        checks.push_back(
            compare("format tag (cell 1 value)", header.value, assembly::cell_format_tag));
        if (names) {
          checks.push_back(compare("plain check code (cell 1 value2)", header.value2,
                                   assembly::plain_check_code(names->train_number, names->route_id),
                                   code_basis(*names)));
        } else {
          checks.push_back({"plain check code (cell 1 value2)", std::to_string(header.value2), "",
                            "not checked: neither a station table beside it nor a file name "
                            "of the form ROUTE_TRAIN.dat gives the route and train",
                            true});
        }
      }
      if (const auto length = line_length_of(companions)) {
        checks.push_back(
            compare("cell count", static_cast<std::int64_t>(file.cells.size()),
                    static_cast<std::int64_t>(last_cell_of_line(length->first)) + 1,
                    "a line of " + std::to_string(length->first) + " m, from " + length->second));
      } else {
        checks.push_back({"cell count", std::to_string(file.cells.size()), "",
                          "not checked: no plan file or station table of the scenario beside it "
                          "gives the line length",
                          true});
      }
      break;
    }
    case file_kind::plan: {
      checks.push_back({"line length", std::to_string(file.line_length) + " m", "",
                        "from the file's size", true});
      if (companions.stations) {
        checks.push_back(compare("line length against station 84 end", file.line_length,
                                 companions.stations->stations[model::entry::train_data].end,
                                 companions.stations_path.filename().string()));
      }
      break;
    }
  }
  return checks;
}

}  // namespace scenario_tool
