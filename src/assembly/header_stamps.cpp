#include "assembly/header_stamps.h"

#include "assembly/check_codes.h"
#include "model/conversions.h"

namespace assembly {

header_slots check_and_stamp_headers(model::scenario_model& model) {
  model::station_entry& header = model.station(model::entry::route_header);
  model::track_cell& header_cell = model.cell(1);

  if (header.group1_a != 0 || header_cell.value != 0) return header_slots::format_tag_taken;
  header.group1_a = station_format_tag;
  header_cell.value = cell_format_tag;

  if (header.time != 0 || header_cell.value2 != 0) return header_slots::check_code_taken;
  header.time = codice_gara_st(model);
  header_cell.value2 = model::low16(codice_gara_og(model));
  return header_slots::stamped;
}

}  // namespace assembly
