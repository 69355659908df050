#include <cstdint>

#include "model/conversions.h"
#include "reader/cell_rules.h"
#include "reader/record_stores.h"

namespace reader {

// A signal one cell after `posizione`: its aspects packed into the cell, its
// time when it is of type 2, and approach codes in the four cells 100, 200,
// 300 and 400 m before it.
void memo_segnale(model::scenario_model& model, std::int32_t posizione, std::int32_t sx,
                  std::int32_t s1, std::int32_t s2, std::int32_t s3, std::int32_t rapp,
                  std::int32_t dx, std::int32_t d1, std::int32_t d2, std::int32_t d3,
                  std::int32_t tempo) {
  const std::int32_t n = reader::cell_after(posizione);
  model::track_cell& cell = model.cell(n);
  if (!model::is_free(cell)) {
    model.note_taken(n);
    model.record_error(16);
    return;
  }

  using wide = std::int64_t;
  const wide type_code = static_cast<wide>(sx) * 3 + dx;
  cell.kind = model::cell_kind::signal;
  cell.value4 = model::low16(static_cast<wide>(rapp) * 10 + type_code);
  cell.value = model::low16(static_cast<wide>(s1) * 10 + d1);
  cell.value2 = model::low16(static_cast<wide>(s2) * 10 + d2);
  cell.value3 = model::low16(static_cast<wide>(s3) * 10 + d3);

  if (tempo >= 1 && tempo <= 100) tempo = 101;
  cell.signal_time = sx == 2 ? model::low8(tempo) : 0;
  model.note_filled(n);

  // A signal less than 400 m from the start of the line is legitimate: the
  // part of its approach that would lie before cell 0 is simply off the line.
  for (wide b = 1; b <= 4; ++b) {
    const wide index = static_cast<wide>(n) - 2 * b;
    if (index < 0) break;
    model.cell(index).approach = model::low8(type_code * 10 + b);
  }
}

}  // namespace reader
