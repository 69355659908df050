// Writes the seed corpus of the compiled-file fuzz target (compiled_seeds.h)
// from the shipped scenario compiled in memory.
#include <cstdio>
#include <filesystem>
#include <string>

#include "assembly/cell_walk.h"
#include "assembly/compiled_files.h"
#include "assembly/header_stamps.h"
#include "compiled_seeds.h"
#include "platform/replace_file.h"
#include "reader/passes.h"
#include "scenari/scenario_texts.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
    return 2;
  }
  model::scenario_model model;
  model.route_id = "Brisena_Tarvo";
  model.train_number = "47306";
  model.plan_flag = 1;
  model.station_table[model::entry::route_header].name = model.route_id;
  model.station_table[model::entry::train_header].name = model.train_number;
  reader::reader_state state;
  reader::line_pass(model, scenari::render_lines(scenari::linea_lines()), state);
  reader::train_pass(model, scenari::render_lines(scenari::treno_lines()), state);
  assembly::percorri_celle(model);
  if (assembly::check_and_stamp_headers(model) != assembly::header_slots::stamped) {
    std::fprintf(stderr, "the shipped scenario's header slots are taken\n");
    return 1;
  }

  const std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder);
  for (const fuzzing::compiled_seed& seed : fuzzing::compiled_seeds(
           assembly::plan_file_bytes(model.plan), assembly::station_file_bytes(model.station_table),
           assembly::cell_file_bytes(model.track_cells))) {
    platform::replace_file(folder / seed.name, seed.input);
  }
  return 0;
}
