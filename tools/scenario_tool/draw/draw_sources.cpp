#include "scenario_tool/draw/draw_sources.h"

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "assembly/cell_walk.h"
#include "assembly/compiled_decoder.h"
#include "assembly/header_stamps.h"
#include "assembly/memorizza_percorso.h"
#include "driver/Form1.h"
#include "driver/run_stopped.h"
#include "driver/scenario_identity.h"
#include "platform/platform.h"
#include "platform/replace_file.h"
#include "reader/description_texts.h"
#include "scenario_tool/compile/compile_core.h"
#include "scenario_tool/shared/windows_1252.h"

namespace scenario_tool {

using assembly::decode_error;
using assembly::decoded_file;
using assembly::file_kind;
using assembly::read_compiled_file;

namespace {

// The compiler's platform inside the tool: no window, no folder of its own,
// and a message box that only records what it was asked to show.
class recording_platform final : public platform::platform {
 public:
  std::filesystem::path program_folder() override { return "."; }
  char separator() const override { return '/'; }
  void show_window(const ::platform::window_design&) override {}
  void destroy_window() override {}
  void message_box(const std::string& text) override { messages.push_back(text); }
  void report_failure(const std::string& text) override { messages.push_back(text); }

  std::vector<std::string> messages;
};

bool ends_with(const std::string& text, std::string_view end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The route and train the texts' names give ("R_linea.txt", "R_T-.txt"),
// else the scenario this build carries.
driver::scenario_identity identity_of(const std::filesystem::path& line_text,
                                      const std::filesystem::path& train_text) {
  driver::scenario_identity identity = driver::brisena_tarvo_47306();
  const std::string line = line_text.filename().string();
  const std::string train = train_text.filename().string();
  if (ends_with(line, "_linea.txt") && line.size() > 10) {
    const std::string route = line.substr(0, line.size() - 10);
    if (train.rfind(route + "_", 0) == 0 && ends_with(train, "-.txt") &&
        train.size() > route.size() + 1 + 5) {
      identity.route_id = route;
      identity.train_number = train.substr(route.size() + 1, train.size() - route.size() - 6);
    }
  }
  return identity;
}

}  // namespace

line_picture picture_from_texts(const std::filesystem::path& line_text,
                                const std::filesystem::path& train_text) {
  const std::string line_bytes = platform::read_file(line_text);
  const std::string train_bytes = platform::read_file(train_text);
  const driver::scenario_identity identity = identity_of(line_text, train_text);

  recording_platform platform;
  Form1 form(platform, identity);
  model::scenario_model& model = form.model;
  model.route_id = identity.route_id;
  model.train_number = identity.train_number;
  // Route assembly's start and the reader's own driving, over the texts in memory.
  const source_text line(line_text.filename().string(), line_bytes);
  const source_text train(train_text.filename().string(), train_bytes);
  memory_texts texts(line, train);
  assembly::prepare_and_read(form, 1, [&] { reader::read_description_texts(form, texts); });
  if (model.track_cells.empty()) {
    throw std::runtime_error("nothing to draw: the line text gave no track cells (" +
                             form.describe_error() + ")");
  }

  line_picture picture;
  picture.cells_before_walk = model.track_cells;
  std::vector<std::string> notes;
  assembly::percorri_celle(model);
  try {
    assembly::check_and_stamp_headers(form);
  } catch (const driver::run_stopped& stop) {
    notes.push_back(std::string("the compiler would stop here:") + stop.what() +
                    " (a header slot is occupied)");
  }
  if (model.error_code != 0) notes.push_back("recorded: " + form.describe_error());

  picture.route_id = model.route_id;
  picture.train_number = model.train_number;
  picture.cells = model.track_cells;
  picture.stations.assign(model.station_table.begin(), model.station_table.end());
  picture.plan = std::move(model.plan);
  picture.line_length = model.station_table[model::entry::train_data].end;
  picture.source = "Compiled in memory from " + line_text.filename().string() + " and " +
                   train_text.filename().string();
  for (std::string& note : notes) picture.notes.push_back(utf8_from_windows_1252(note));
  return picture;
}

line_picture picture_from_folder(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> tables;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.is_regular_file() && entry.path().extension() == ".sim")
      tables.push_back(entry.path());
  }
  if (tables.size() != 1) {
    throw std::runtime_error(folder.string() + " holds " + std::to_string(tables.size()) +
                             " station tables (.sim): draw needs exactly one");
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
  // The files are named after the route and train the table holds.
  const std::string stem = tables[0].stem().string();
  const std::filesystem::path cells_file = folder / (stem + ".dat");
  std::filesystem::path plan_file = folder / (picture.route_id + "_linea.dat");
  if (!std::filesystem::exists(plan_file) && stem.rfind('_') != std::string::npos) {
    plan_file = folder / (stem.substr(0, stem.rfind('_')) + "_linea.dat");
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
                   " in " + folder.string();
  return picture;
}

}  // namespace scenario_tool
