#include "scenari/scenario_texts.h"

namespace scenari {

// The slowdown order (form M. 3) for train 47306: the two slowdowns of the
// train description, at 16850 over 600 m at 115 km/h and at 34600 over 200 m
// at 105 km/h, with kilometre posts counted as on the train card, then the
// legend of the special prescriptions. "Rallentamneto" is the form's own text.
const line_list& rallentamenti_lines() {
  static constexpr line_list lines = {
      "",
      "                               Modulo M. 3",
      "                           ORDINE DI RALLENTAMENTO",
      " ________________________________________________________________________________",
      "  Linea  BRISENA - TARVO",
      "",
      "  Si ordina al macchinista del treno 47306 di effettuare i seguenti rallentamenti",
      "  _______________________________________________________________________________",
      " |   |                            |Inizio dopo |          |         |            |",
      " | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|",
      " |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |",
      " |___|____________________________|____________|__________|_________|____________|",
      " |   |                            |            |          |         |            |",
      " | 1 | ROCCAVELLA e MONTESPINO    |      4     |    115   |   600   |      B     |",
      " |   |                            |            |          |         |            |",
      " | 2 | SANT' ELPIDIO  e  CORVARA  |     23     |    105   |   200   |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |   |                            |            |          |         |            |",
      " |___|____________________________|____________|__________|_________|____________|",
      "",
      "              Prescrizioni specifiche",
      "",
      " A - Da rispettare con tutto il treno (per i treni viaggiatori)",
      " ",
      " B - Interessa anche la stazione di PIANO LUNGO",
      " ",
      " D - Rallentamneto N. ... e N. ...  sono contigui",
      " ",
      " C - Da rispettare dalle ore ....  alle ore ..... di tutti",
      "     i giorni esclusi i seguenti:.........",
      end_marker,
  };
  return lines;
}

}  // namespace scenari
