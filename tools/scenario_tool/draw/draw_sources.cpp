#include "scenario_tool/draw/draw_sources.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "assembly/compiled_decoder.h"
#include "model/file_names.h"
#include "model/identity_check.h"
#include "model/scenario_identity.h"
#include "platform/replace_file.h"
#include "reader/description_texts.h"
#include "scenario_tool/compile/compile_core.h"
#include "scenario_tool/compile/warning_names.h"
#include "scenario_tool/lsp/row_index.h"
#include "scenario_tool/shared/windows_1252.h"

namespace scenario_tool {

using assembly::decode_error;
using assembly::decoded_file;
using assembly::file_kind;
using assembly::read_compiled_file;

namespace {

// The route and train the texts' names give ("R_linea.txt", "R_T-.txt"),
// else the scenario this build carries.
model::scenario_identity identity_of(const std::filesystem::path& line_text,
                                     const std::filesystem::path& train_text) {
  model::scenario_identity identity = model::brisena_tarvo_47306();
  const auto line = model::read_file_name(line_text.filename().string());
  if (!line || line->file != model::scenario_file::line_text) return identity;
  const auto train = model::read_file_name(train_text.filename().string(), line->route_id);
  if (train && train->file == model::scenario_file::train_text) {
    identity.route_id = train->route_id;
    identity.train_number = train->train_number;
  }
  return identity;
}

// The folder's own name, without the path that leads to it.
std::string folder_label(const std::filesystem::path& folder) {
  std::error_code ec;
  std::filesystem::path full = std::filesystem::weakly_canonical(folder, ec);
  if (ec) full = folder;
  std::string name = full.filename().string();
  if (name.empty()) name = full.parent_path().filename().string();
  return name.empty() ? std::string("the folder") : name;
}

}  // namespace

drawn_texts picture_from_texts(const std::filesystem::path& line_text,
                               const std::filesystem::path& train_text,
                               const model::scenario_identity* named) {
  const model::scenario_identity identity =
      named != nullptr ? *named : identity_of(line_text, train_text);
  // The compile's own run, diagnostics and all, over the texts in memory.
  compile_request request;
  request.line =
      source_text(line_text.string(), platform::read_file(line_text, reader::text_bound));
  request.train =
      source_text(train_text.string(), platform::read_file(train_text, reader::text_bound));
  request.route_id = identity.route_id;
  request.train_number = identity.train_number;
  drawn_texts drawn;
  line_picture& picture = drawn.picture;
  request.after_reading = [&](const model::scenario_model& model) {
    picture.cells_before_walk = model.track_cells;
  };
  // Which row put each object into its cells, for the page's click to the row.
  lsp::row_index rows;
  request.observer = &rows;
  compile_result result = compile_texts(request);
  rows.finish();
  drawn.rows = rows_with_cells(rows, request.line, request.train);
  drawn.diagnostics = std::move(result.diagnostics);
  drawn.stopped = result.stopped;
  warning_policy().apply_to(drawn.diagnostics);
  model::scenario_model& model = *result.model;
  if (model.track_cells.empty()) return drawn;

  picture.route_id = model.route_id;
  picture.train_number = model.train_number;
  picture.cells = model.track_cells;
  picture.stations.assign(model.station_table.begin(), model.station_table.end());
  picture.plan = std::move(model.plan);
  picture.line_length = model.station_table[model::entry::train_data].end;
  picture.source = "Compiled in memory from " + line_text.filename().string() + " and " +
                   train_text.filename().string();
  for (const diagnostic& d : drawn.diagnostics) {
    if (d.level != severity::error) continue;
    std::string note = std::filesystem::path(d.file).filename().string();
    if (d.line != 0) {
      note += ':';
      note += std::to_string(d.line);
    }
    if (!note.empty()) note += ": ";
    note += d.message();
    picture.notes.push_back(utf8_from_windows_1252(note));
  }
  return drawn;
}

line_picture picture_from_folder(const std::filesystem::path& folder, const std::string& train) {
  std::vector<std::filesystem::path> tables;
  std::vector<model::named_file> table_names;
  std::vector<std::string> trains;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    const auto named = model::read_file_name(entry.path().filename().string());
    if (!named || named->file != model::scenario_file::stations) continue;
    trains.push_back(named->train_number);
    if (train.empty() || named->train_number == train) {
      tables.push_back(entry.path());
      table_names.push_back(*named);
    }
  }
  std::sort(trains.begin(), trains.end());
  std::string listed;
  for (const std::string& t : trains) {
    if (!listed.empty()) listed += ", ";
    listed += t;
  }
  // The folder by its own name: a picture carries no path of the author's machine.
  const std::string folder_name = folder_label(folder);
  if (tables.empty() && !train.empty()) {
    throw std::runtime_error(
        folder_name + " holds no station table of train " + train +
        (listed.empty() ? std::string() : " (it holds trains " + listed + ")"));
  }
  if (tables.size() != 1) {
    throw std::runtime_error(
        folder_name + " holds " + std::to_string(tables.size()) + " station tables (.sim)" +
        (tables.size() > 1 ? ", of trains " + listed + ": choose one with --train"
                           : ": draw needs one"));
  }
  const auto read = [](const std::filesystem::path& file, file_kind kind) {
    try {
      return read_compiled_file(file, kind);
    } catch (const decode_error& failure) {
      throw std::runtime_error(file.filename().string() + ": " + failure.what());
    }
  };
  const decoded_file stations = read(tables[0], file_kind::stations);
  line_picture picture;
  picture.stations = stations.stations;
  picture.route_id = picture.stations[model::entry::route_header].name;
  picture.train_number = picture.stations[model::entry::train_header].name;
  // The files are named after the route and train the table holds; a stored
  // route that is not a plain name is never put into a path.
  const model::scenario_identity by_name{table_names[0].route_id, table_names[0].train_number};
  const std::filesystem::path cells_file =
      folder / model::file_name(by_name, model::scenario_file::cells);
  std::filesystem::path plan_file;
  if (!model::name_part_fault(picture.route_id)) {
    plan_file = folder / model::file_name({picture.route_id, {}}, model::scenario_file::plan);
  } else {
    picture.notes.push_back("the route name stored in " + tables[0].filename().string() +
                            " is not a plain file name: the plan is looked for by the table's "
                            "own name");
  }
  if (plan_file.empty() || !std::filesystem::exists(plan_file)) {
    plan_file = folder / model::file_name(by_name, model::scenario_file::plan);
  }
  picture.cells = read(cells_file, file_kind::cells).cells;
  picture.line_length = picture.stations[model::entry::train_data].end;
  if (std::filesystem::exists(plan_file)) {
    decoded_file plan = read(plan_file, file_kind::plan);
    picture.plan = std::move(plan.plan);
    if (plan.line_length != picture.line_length) {
      picture.notes.push_back("the plan's size gives a line of " +
                              std::to_string(plan.line_length) + " m, station 84 says " +
                              std::to_string(picture.line_length) + " m");
    }
  } else {
    picture.notes.push_back("no track plan file " + plan_file.filename().string() +
                            ": no plan and no curves");
  }
  picture.source = "Drawn from the compiled files " + tables[0].filename().string() + ", " +
                   cells_file.filename().string() + " and " + plan_file.filename().string() +
                   " in " + folder_name;
  return picture;
}

}  // namespace scenario_tool
