// The texts that the build carries, each defined beside its writer: the two
// description texts that the reader reads back, and the three documents for
// the driver.
#pragma once

#include "scenari/text_writer.h"

namespace scenari {

const line_list& linea_lines();          // <route>_linea.txt, the line description
const line_list& treno_lines();          // <route>_<train>-.txt, the train description
const line_list& note_lines();           // <route>_<train>_note.txt, the scenario notes
const line_list& rallentamenti_lines();  // <route>_<train>_rallentamenti.txt, the slowdown order
const line_list& scheda_lines();         // <route>_<train>_scheda_treno.txt, the train card

}  // namespace scenari
