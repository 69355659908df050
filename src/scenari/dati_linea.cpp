#include "driver/Form1.h"
#include "scenari/scenario_texts.h"

namespace scenari {

const line_list& linea_lines() {
  static constexpr line_list lines = {
      end_marker,
  };
  return lines;
}

}  // namespace scenari

void Form1::dati_linea() {
  scenari::write_line_list(nome_file(model.route_id + "_linea.txt"), scenari::linea_lines());
}
