#include "scenario_tool/new/minimal_scenario.h"

#include <initializer_list>
#include <string_view>

namespace scenario_tool {

namespace {

std::string lines(std::initializer_list<std::string_view> rows) {
  std::string text;
  for (const std::string_view row : rows) {
    text.append(row);
    text.append("\r\n");
  }
  return text;
}

}  // namespace

std::string minimal_line_text() {
  return lines({
      "[generale]",
      "lunghezza percorso,    5000",
      "progressiva chilometrica uno,    0,    0,    0",
      "progressiva chilometrica due,    0,    0,    0",
      "progressiva chilometrica tre,    0,    0,    0",
      "sfondo uno,    0",
      "sfondo due,    1",
      "sfondo tre,    60000",
      "ripetizione segnali 4 codici,    0,    0",
      "[curve]",
      "curvad2,  1500,  300",
      "[pendenze]",
      "pendenza,   0,    0",
      "pendenza,  2500,   4",
      "[montagne]",
      "[cartelli]",
      "[indicazioni]",
      "[fine]",
  });
}

std::string minimal_train_text() {
  return lines({
      "[generale]",
      "numero vetture,    5",
      "percentuale massa frenata,    115",
      "sabbia,    300",
      "orologio,    8              0            0 ",
      "[aderenze]",
      "aderenza,   0,    100",
      "[vel_limite]",
      "velocita,   0,    30",
      "velocita,    1000,   100",
      "[stazioni]",
      "stazione,       0,  7,  700,  1, 0, 0,  3,1,0,  2,1,1,    1,   8, 0, 0, ORIGINE",
      "stazione,    4000, 12,  500,  0, 0, 0,  1,1,0,  2,1,1,    0,   8, 5, 0, ARRIVO",
      "[rallentamenti]",
      "[segnali]",
      "segnale,    2000,   2, 4, 1,  0, 0,    0,  0,0,0, 0",
      "[codici]",
      "[fine]",
  });
}

std::string minimal_notes(const model::scenario_identity& identity) {
  return "LINEA :  " + identity.route_id + "\r\n\r\nTRENO : " + identity.train_number + "\r\n\r\n" +
         lines({"INTRODUZIONE", "",
                "Notes for the driver: how the line runs and how to drive "
                "the train. Written by the scenario's author."});
}

}  // namespace scenario_tool
