#include "assembly/header_stamps.h"

#include "driver/Form1.h"
#include "model/conversions.h"

namespace assembly {

void check_and_stamp_headers(Form1& form) {
  model::scenario_model& model = form.model;
  model::station_entry& header = model.station(model::entry::route_header);
  model::track_cell& header_cell = model.cell(1);

  if (header.group1_a != 0 || header_cell.value != 0) form.errore("1250");
  header.group1_a = station_format_tag;
  header_cell.value = cell_format_tag;

  if (header.time != 0 || header_cell.value2 != 0) form.errore("1251");
  header.time = form.codice_gara_st();
  header_cell.value2 = model::low16(form.codice_gara_og());
}

}  // namespace assembly
