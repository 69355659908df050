#include "scenari/scenario_texts.h"

namespace scenari {

// The train description of train 47306, Brisena to Tarvo: general data and
// starting clock, adhesion, speed limits, stations with their timetable, the
// two slowdowns and the signals. The reader reads it back and deletes it.
//
// The places at the ends of the station rows, by chainage (metres). The driver
// documents name them with these same texts (in mixed case where the train card
// writes "Piano Lungo", "Selvapiana" and "Bivio Vallecupa"):
//       0  origin station                              BRISENA
//    4250  first stop                                  CASTELNUOVO DI VALSERENA
//    8300  station                                     S. MARCO DEI CAMPI
//   12950  junction station, kilometric chainage
//          restarts (13.030 becomes 0.230)             ROCCAVELLA
//   17100  disused stopping point                      PIANO LUNGO
//   19950  station                                     MONTESPINO
//   28350  station, stop                               SANT' ELPIDIO
//   37400  station                                     CORVARA
//   44400  station, stop                               TORRE ALBINA
//   51200  station, stop                               MORLANO
//   57850  minor station                               SELVAPIANA
//   60600  former stopping point                       MOLINO del CONTE
//   63300  station, stop, the later junction station   LORETELLO
//   70150  station                                     ROVERETA
//   75350  station, stop                               POGGIOFIORE
//   79500  station                                     PIETRAVIVA
//   85250  junction                                    VALLECUPA
//   88400  terminus station                            TARVO
const line_list& treno_lines() {
  static constexpr line_list lines = {
      "[generale]",
      "numero vetture,    5",
      "percentuale massa frenata,    115",
      "sabbia,    300",
      "orologio,    11              29            30 ",
      "[aderenze]",
      "aderenza,   0,    100",
      "[vel_limite]",
      "velocita,   0,    30",
      "velocita,    1100,   120",
      "velocita,    3200,   110",
      "velocita,    5100,   160",
      "velocita,   12650,   130",
      "velocita,   14950,   140",
      "velocita,   50500,   130",
      "velocita,   52400,   140",
      "velocita,   62450,   105",
      "velocita,   63150,    75",
      "velocita,   64150,   135",
      "velocita,   86650,    75",
      "velocita,   88500,    95",
      "[stazioni]",
      "stazione,       0,  7,  700,  1, 0, 0,  3,1,0,  2,1,1,    1,  11,30, 0, BRISENA",
      "stazione,    4250, 12,  600,  0, 0, 0,  1,1,0,  4,1,1,   30,  11,36, 0, CASTELNUOVO DI "
      "VALSERENA",
      "stazione,    8300, 12,  800,  0, 0, 1,  1,1,0,  4,1,1,    0,   0, 0, 0, S. MARCO DEI CAMPI",
      "stazione,   12950, 12,  500,  0, 0, 1,  1,1,0,  4,1,1,    0,   0, 0, 0, ROCCAVELLA",
      "stazione,   17100, 28,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, PIANO LUNGO",
      "stazione,   19950, 22,  800,  0, 0, 1,  0,0,0,  4,1,1,    0,   0, 0, 0, MONTESPINO",
      "stazione,   28350, 12,  600,  1, 0, 1,  4,1,0,  2,1,1,   30,  11,50, 0, SANT' ELPIDIO",
      "stazione,   37400, 12,  300,  0, 0, 1,  1,1,0,  4,1,1,    0,   0, 0, 0, CORVARA",
      "stazione,   44400, 12,  500,  0, 0, 1,  1,1,0,  4,1,1,   30,  12, 0, 0, TORRE ALBINA",
      "stazione,   51200, 12,  500,  0, 0, 0,  1,1,0,  4,1,1,   30,  12, 6, 0, MORLANO",
      "stazione,   57850, 28,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, SELVAPIANA",
      "stazione,   60600, 27,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, MOLINO del CONTE",
      "stazione,   63300, 12,  500,  0, 0, 0,  1,1,0,  4,1,1,   30,  12,16, 0, LORETELLO",
      "stazione,   70150, 22,  500,  0, 0, 1,  0,0,0,  4,1,1,    0,   0, 0, 0, ROVERETA",
      "stazione,   75350, 12,  500,  1, 0, 1,  4,1,1,  2,1,1,   30,  12,25, 0, POGGIOFIORE",
      "stazione,   79500, 22,  600,  0, 0, 1,  0,0,0,  4,1,1,    0,   0, 0, 0, PIETRAVIVA",
      "stazione,   85250, 25,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, VALLECUPA",
      "stazione,   88400, 12,  500,  0, 0, 0,  1,1,0,  2,1,1,    0,  12,36, 0, TARVO",
      "[rallentamenti]",
      "rallentamento,   16850,   115,  600, 0,  1,  0",
      "rallentamento,   34600,   105,  200, 0,  1,  105",
      "[segnali]",
      "segnale,    1600,   2, 4, 1,  0, 0,    1,  3,1,0, 205",
      "segnale,    2950,   2, 3, 1,  1, 0,    2,  2,1,0, 0",
      "segnale,    6000,   2, 4, 1,  0, 0,    0,  0,0,0, 0",
      "segnale,    7350,   2, 4, 1,  0, 0,    0,  0,0,0, 0",
      "segnale,   10400,   2, 5, 6,  0, 0,    0,  0,0,0, 0",
      "segnale,   12000,   2, 2, 4,  0, 0,    0,  0,0,0, 0",
      "segnale,   14750,   1, 4, 0,  0, 0,    0,  0,0,0, 0",
      "segnale,   16100,   2, 4, 0,  0, 0,    0,  0,0,0, 0",
      "segnale,   17500,   1, 4, 1,  0, 0,    1,  3,1,0, 0",
      "segnale,   18700,   2, 4, 1,  0, 0,    2,  2,1,0, 0",
      "segnale,   26200,   1, 5, 6,  0, 0,    0,  0,0,0, 0",
      "segnale,   27450,   2, 2, 3,  1, 0,    0,  0,0,0, 0",
      "segnale,   35050,   1, 4, 1,  0, 0,    0,  0,0,0, 205",
      "segnale,   36250,   2, 4, 1,  0, 0,    0,  0,0,0, 0",
      "segnale,   42150,   1, 4, 1,  0, 0,    0,  0,0,0, 0",
      "segnale,   43400,   2, 3, 1,  0, 0,    0,  0,0,0, 0",
      "segnale,   48850,   1, 4, 1,  0, 0,    0,  0,0,0, 0",
      "segnale,   50150,   2, 3, 1,  0, 0,    0,  0,0,0, 0",
      "segnale,   56550,   1, 3, 0,  0, 0,    0,  0,0,0, 0",
      "segnale,   57750,   2, 4, 0,  0, 0,    0,  0,0,0, 215",
      "segnale,   61000,   1, 3, 4,  0, 0,    0,  0,0,0, 0",
      "segnale,   62200,   2, 2, 3,  0, 0,    0,  0,0,0, 0",
      "segnale,   68000,   1, 4, 1,  0, 0,    0,  0,0,0, 0",
      "segnale,   69200,   2, 4, 1,  0, 0,    0,  0,0,0, 0",
      "segnale,   72850,   1, 5, 6,  0, 0,    0,  0,0,0, 0",
      "segnale,   74050,   2, 2, 3,  0, 0,    0,  0,0,0, 0",
      "segnale,   77400,   1, 4, 1,  0, 0,    0,  0,0,0, 0",
      "segnale,   78600,   2, 4, 1,  0, 0,    0,  0,0,0, 0",
      "segnale,   83650,   1, 4, 1,  0, 0,    0,  0,0,0, 0",
      "segnale,   84850,   2, 4, 1,  0, 0,    0,  0,0,0, 0",
      "segnale,   86500,   1, 5, 1,  0, 0,    1,  3,1,0, 0",
      "segnale,   87700,   2, 3, 1,  1, 0,    2,  2,1,1, 0",
      "[codici]",
      "[fine]",
      end_marker,
  };
  return lines;
}

}  // namespace scenari
