#include "driver/Form1.h"
#include "scenari/scenario_texts.h"

namespace scenari {

const line_list& scheda_lines() {
  static constexpr line_list lines = {
      end_marker,
  };
  return lines;
}

}  // namespace scenari

void Form1::dati_scheda() {
  scenari::write_line_list(
      nome_file(model.route_id + "_" + model.train_number + "_scheda_treno.txt"),
      scenari::scheda_lines());
}
