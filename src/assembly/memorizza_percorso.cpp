#include "driver/Form1.h"

void Form1::memorizza_percorso(std::int32_t& j) {
  model.plan_flag = j;
  model.error_code = 0;
  for (auto& entry : model.station_table) entry = model::station_entry{};
  memorizza_dati();
}

std::int32_t Form1::codice_gara_og() const {
  return 0;
}
std::int32_t Form1::codice_gara_st() const {
  return 0;
}
