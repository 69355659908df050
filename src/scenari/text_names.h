// Own names of the five texts a run writes (before the program's folder is put
// in front): the two description texts that the reader reads back and
// deletes, and the three documents for the driver.
#pragma once

#include <string>

#include "model/scenario_model.h"

namespace scenari {

inline std::string line_text_name(const model::scenario_model& model) {
  return model.route_id + "_linea.txt";
}
inline std::string train_text_name(const model::scenario_model& model) {
  return model.route_id + "_" + model.train_number + "-.txt";
}
inline std::string notes_name(const model::scenario_model& model) {
  return model.route_id + "_" + model.train_number + "_note.txt";
}
inline std::string slowdown_order_name(const model::scenario_model& model) {
  return model.route_id + "_" + model.train_number + "_rallentamenti.txt";
}
inline std::string train_card_name(const model::scenario_model& model) {
  return model.route_id + "_" + model.train_number + "_scheda_treno.txt";
}

}  // namespace scenari
