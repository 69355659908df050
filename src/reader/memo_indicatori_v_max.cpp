#include <cstdint>

#include "model/conversions.h"
#include "reader/cell_rules.h"
#include "reader/record_stores.h"

namespace reader {

// A maximum-speed indicator one cell after `posizione`. Each packed value
// carries a left speed times 20 plus a right speed divided by 5.
void memo_indicatori_v_max(model::scenario_model& model, std::int32_t posizione, std::int32_t vas,
                           std::int32_t vbs, std::int32_t vcs, std::int32_t strisces,
                           std::int32_t vad, std::int32_t vbd, std::int32_t vcd,
                           std::int32_t strisced) {
  const std::int32_t n = reader::cell_after(posizione);
  model::track_cell& cell = model.cell(n);
  if (!model::is_free(cell)) {
    model.note_taken(n);
    model.record_error(21);
    return;
  }

  // All three values are converted before the cell changes: a value that
  // does not fit a short fails the row without leaving half an indicator.
  const std::int16_t a = model::round_to_short(vad / 5.0 + vas * 20.0);
  const std::int16_t b = model::round_to_short(vbd / 5.0 + vbs * 20.0);
  const std::int16_t c = model::round_to_short(vcd / 5.0 + vcs * 20.0);

  cell.kind = model::cell_kind::speed_indicator;
  cell.value = a;
  cell.value2 = b;
  cell.value3 = c;
  cell.value4 = model::low16(static_cast<std::int64_t>(strisces) * 10 + strisced);
  model.note_filled(n);
}

}  // namespace reader
