#include <cstdint>

#include "model/conversions.h"
#include "reader/cell_rules.h"
#include "reader/record_stores.h"

namespace reader {

// A slowdown at speed `v` from chainage `x`, `l` metres long. It marks, from
// the front: four approach markers (ranks 4 to 1) when `f_ta` asks for them,
// a warning point 1200 m before the start, the start, and the end one cell
// after `x` + `l`. A slowdown at 1500 m or less has no warning point and no
// markers.
void memo_rallentamento(model::scenario_model& model, std::int32_t x, std::int32_t v,
                        std::int32_t l, std::int32_t f_tt, std::int32_t f_ta, std::int32_t d_v) {
  const std::int32_t w = reader::cell_after(x - 1200.0);
  const std::int32_t s = reader::cell_after(x);
  const std::int32_t e = reader::cell_after(static_cast<double>(x) + l);
  const std::int32_t m = reader::cell_at(x - 1200.0);

  const bool warned = x > 1500;
  if (!warned) f_ta = 0;

  if (warned && !model::is_free(model.cell(w))) {
    model.note_taken(w);
    model.record_error(17);
    return;
  }
  if (!model::is_free(model.cell(s))) {
    model.note_taken(s);
    model.record_error(18);
    return;
  }
  if (!model::is_free(model.cell(e))) {
    model.note_taken(e);
    model.record_error(19);
    return;
  }
  // Every cell this slowdown may write is now known to be on the table: the
  // markers run from M down to M - 3, and with x above 1500 M is at least 6
  // and never beyond W.

  const std::int16_t speed = model::low16(v);
  const std::int16_t delta = model::low16(d_v);

  model::track_cell& end_cell = model.cell(e);
  end_cell.kind = model::cell_kind::slowdown_end;
  if (d_v != 0) end_cell.value2 = delta;

  model::track_cell& start_cell = model.cell(s);
  start_cell.kind = model::cell_kind::slowdown_start;
  if (d_v != 0) start_cell.value2 = delta;

  if (warned) {
    model::track_cell& warning = model.cell(w);
    warning.kind = model::cell_kind::slowdown_warning;
    if (d_v != 0) warning.value2 = delta;
    warning.value = speed;
  }

  start_cell.value = speed;
  end_cell.value = speed;
  start_cell.value3 = model::low16(f_tt);
  end_cell.value3 = model::low16(f_tt);
  model.note_filled(e);
  model.note_filled(s);
  if (warned) model.note_filled(w);

  if (f_ta == 0) return;
  for (std::int64_t r = 0; r <= 3; ++r) {
    if (!model::is_free(model.cell(m - r))) {
      model.note_taken(m - r);
      model.record_error(20);
      return;
    }
  }
  for (std::int16_t r = 0; r <= 3; ++r) {
    model::track_cell& marker = model.cell(m - r);
    marker.kind = model::cell_kind::slowdown_marker;
    marker.value = static_cast<std::int16_t>(r + 1);
    if (d_v != 0) marker.value2 = static_cast<std::int16_t>(r + 1);
    model.note_filled(m - r);
  }
}

}  // namespace reader
