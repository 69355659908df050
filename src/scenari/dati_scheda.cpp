#include "driver/Form1.h"
#include "scenari/carried_scenario.h"
#include "scenari/scenario_texts.h"
#include "scenari/text_names.h"

namespace scenari {

// The train card of train 47306: the title and classification boxes, then the
// table of the points along the route with speeds, chainage in kilometres
// (restarting at Roccavella: 13.030 becomes 0.230), timetable times and Rec.
// Data rows 11, 12 and 13 (old chainage, Roccavella, new chainage) stand
// together without spacer rows.
const line_list& scheda_lines() {
  static constexpr line_list lines = {
      "",
      "",
      "  ___________________                                               ______________",
      " |                   |                    SCHEDA                   |              |",
      " |   TRENO n.47306   |                   da: BRISENA               |    V160 B    |",
      " |___________________|                    a: TARVO                 |     115%     |",
      "                                                                   |______________|",
      "  ___________________                ___________________",
      " |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       ",
      " |        R          |              |      300T         |",
      " |___________________|              |___________________|",
      "",
      "  ________________________________________________________________________________",
      " | Vel.| Vel.| Progr Km |  No |   Localita' di  Servizio   |     Orario     | Rec |",
      " | Lim.|Marc.|          |  Rs |                            |                |     |",
      " |_____|_____|__________|_____|____________________________|________________|_____|",
      " |     |     |          |     |                            |                |     |",
      " |  30 |  30 |   0.000  |  30 | BRISENA                    |          11.30 |     |",
      " |     |     |          |     |                            |                |     |",
      " | 120 | 115 |          | 120 |      Dev. U. Brisena       |                |     |",
      " |     |     |          |     |                            |                |     |",
      " |     |     |   1.500  |     | Posto di Blocco P103       |      11.33+    |     |",
      " |     |     |          |     |                            |                |     |",
      " | 110 | 110 |   3.150  | 110 |      Dev. I. Castelnuovo V.|                |     |",
      " |     |     |          |     |                            |                |     |",
      " |     |     |   4.318  |     | CASTELNUOVO DI VALSERENA   | 11.35    11.36 | 0.5 |",
      " |     |     |          |     |                            |                |     |",
      " | 160 | 150 |          | 140 |      Cavalcavia Km.5,112   |                |     |",
      " |     |     |          |     |                            |                |     |",
      " |     |     |   6.866  |     | Bivio Campore              |      11.38     |     |",
      " |     |     |          |     |                            |                |     |",
      " |     |     |   8.010  | 145 | S. MARCO DEI CAMPI         |      11.39     |     |",
      " |     |     |          |     |                            |                |     |",
      " |     |     |  10.440  |     | Posto di Blocco P413       |      11.40+    |     |",
      " |     |     |          |     |                            |                |     |",
      " | 130 | 130 |          | 130 |      Cavalcavia Km.12,648  |                |     |",
      " |     |     |          |     |                            |                |     |",
      " |     |     |  13.030  |     |                            |                |     |",
      " |     |     |  ------  |     | ROCCAVELLA                 |      11.42     | 1.0 |",
      " |     |     |   0.230  |     |                            |                |     |",
      " |     |     |          |     |                            |                |     |",
      " | 140 |     |          | 140 |      Cavalcavia Km.2,159   |                |     |",
      " |     |     |          |     |                            |                |     |",
      " |     |     |   3.305  |     | Posto di Blocco P203       |                |     |",
      " |     |     |          |     |                            |                |     |",
      " |     | 140 |   4.320  |     | Piano Lungo                |      11.44     |     |",
      " |     |     |          |     |                            |                |     |",
      " |     |     |   7.149  |     | MONTESPINO                 |      11.45+    |     |",
      " |     |     |          |     |                            |                |     |",
      " |     |     |  15.499  |     | SANT' ELPIDIO              | 11.49+   11.50 | 0.5 |",
      " |     |     |          |     |                            |                |     |",
      " |     |     |  24.579  |     | CORVARA                    |      11.56     |     |",
      " |     |     |          |     |                            |                |     |",
      " |     | 125 |  31.628  |     | TORRE ALBINA               | 11.59+   12.00 |     |",
      " |     |     |          |     |                            |                |     |",
      " | 130 |     |          | 130 |      Dev. I. Morlano       |                |     |",
      " |     |     |          |     |                            |                |     |",
      " |     |     |  38.384  |     | MORLANO                    | 12.05+   12.06 | 1.0 |",
      " |     |     |          |     |                            |                |     |",
      " | 140 | 140 |          | 140 |      Km.39,605             |                |     |",
      " |     |     |          |     |                            |                |     |",
      " |     |     |  44.941  |     | Posto di Blocco 433        |                |     |",
      " |     |     |          |     |                            |                |     |",
      " |     | 135 |  45.030  |     | Selvapiana                 |      12.11     |     |",
      " |     |     |          |     |                            |                |     |",
      " | 105 | 105 |          | 105 |      Dev. I. Loretello     |                |     |",
      " |     |     |          |     |                            |                |     |",
      " |  75 |  75 |  50.541  |  75 | LORETELLO                  | 12.15    12.16 | 1.5 |",
      " |     |     |          |     |                            |                |     |",
      " | 135 | 120 |          | 135 |      Cavalcavia Km.51,357  |                |     |",
      " |     |     |          |     |                            |                |     |",
      " |     |     |  57.297  |     | ROVERETA                   |                |     |",
      " |     |     |          |     |                            |                |     |",
      " |     | 130 |  62.482  |     | POGGIOFIORE                | 12.24+   12.25 |     |",
      " |     |     |          |     |                            |                |     |",
      " |     |     |  66.698  |     | PIETRAVIVA                 |      12.27+    |     |",
      " |     |     |          |     |                            |                |     |",
      " |     | 115 |  72.418  |     | Bivio Vallecupa            |      12.31     |     |",
      " |     |     |          |     |                            |                |     |",
      " |  75 |  75 |  73.812  |  75 |   Cavalcavia Colle Ameno   |      12.32+    |     |",
      " |     |     |          |     |                            |                |     |",
      " |     |     |  75.680  |     | TARVO                      | 12.36          | 2.0 |",
      " |_____|_____|__________|_____|____________________________|________________|_____|",
      "",
      end_marker,
  };
  return lines;
}

}  // namespace scenari

void Form1::dati_scheda() {
  const std::filesystem::path file = nome_file(scenari::train_card_name(model));
  if (carried_ == nullptr) {
    scenari::write_line_list(file, scenari::scheda_lines());
  } else if (carried_->train_card) {
    scenari::write_text(file, *carried_->train_card);
  }
}
