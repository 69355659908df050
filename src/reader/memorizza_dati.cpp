#include <filesystem>

#include "driver/Form1.h"

void Form1::memorizza_dati() {
  model.station(model::entry::route_header).name = model.route_id;
  model.station(model::entry::train_header).name = model.train_number;
  if (!std::filesystem::exists(nome_file(model.route_id + "_linea.txt"))) {
    model.record_error(101);
    return;
  }
}
