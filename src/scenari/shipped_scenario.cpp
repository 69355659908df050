#include "scenari/carried_scenario.h"
#include "scenari/scenario_texts.h"

namespace scenari {

carried_scenario shipped_scenario() {
  carried_scenario scenario;
  scenario.identity = model::brisena_tarvo_47306();
  scenario.plan = true;
  scenario.line_text = render_lines(linea_lines());
  scenario.train_text = render_lines(treno_lines());
  scenario.notes = render_lines(note_lines());
  scenario.slowdown_order = render_lines(rallentamenti_lines());
  scenario.train_card = render_lines(scheda_lines());
  return scenario;
}

}  // namespace scenari
