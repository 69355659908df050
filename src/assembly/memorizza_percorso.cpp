#include "assembly/memorizza_percorso.h"

#include <stdexcept>
#include <string>

#include "assembly/cell_walk.h"
#include "assembly/compiled_files.h"
#include "assembly/header_stamps.h"
#include "driver/Form1.h"

void Form1::memorizza_percorso(std::int32_t& j) {
  assembly::prepare_and_read(*this, j, [this] { memorizza_dati(); });
  assembly::assemble_and_write(*this);
}

namespace assembly {

void prepare_and_read(Form1& form, std::int32_t j, const std::function<void()>& read) {
  model::scenario_model& model = form.model;
  model.plan_flag = j;
  model.error_code = 0;
  for (model::station_entry& entry : model.station_table) entry = model::station_entry{};
  read();
}

void assemble(Form1& form) {
  model::scenario_model& model = form.model;
  if (model.track_cells.empty()) {
    throw std::runtime_error("nothing to compile: the line description gave no track cells (" +
                             form.describe_error() + ")");
  }
  percorri_celle(model);
  check_and_stamp_headers(form);
}

void assemble_and_write(Form1& form) {
  assemble(form);
  write_compiled_files(form);
}

}  // namespace assembly
