#include <cstdint>

#include "model/conversions.h"
#include "reader/cell_rules.h"
#include "reader/record_stores.h"

namespace reader {

// A mountain-side stretch from `inizio` to `fine` with side code `tipo`. A code
// above 10 asks for filler marks as well; a stretch that starts 150 m or less
// after the previous one ends is marked as lying between two (code 3).
void memo_montagna(model::scenario_model& model, std::int32_t inizio, std::int32_t fine,
                   std::int32_t tipo) {
  const bool fillers = tipo > 10;
  if (fillers) tipo -= 10;

  // Every slot and cell this row needs is looked up before anything is
  // written, so that a row that does not fit leaves no trace.
  const std::int64_t slot = static_cast<std::int64_t>(model.mountain_count) + 1;
  std::int32_t& start_slot = model.mountain_start.at(static_cast<std::size_t>(slot));
  std::int32_t& end_slot = model.mountain_end.at(static_cast<std::size_t>(slot));
  const std::int32_t first = reader::cell_at(inizio);
  const std::int32_t last = reader::cell_before(fine);
  if (first <= last) {
    model.cell(first);
    model.cell(last);
  }

  model.mountain_count = static_cast<std::int32_t>(slot);
  start_slot = inizio;
  end_slot = fine;

  if (slot > 1 && static_cast<std::int64_t>(inizio) -
                          model.mountain_end.at(static_cast<std::size_t>(slot - 1)) <=
                      150) {
    tipo = 3;
  }

  std::int64_t walked = 0;
  for (std::int64_t c = first; c <= last; ++c) {
    model::track_cell& cell = model.cell(c);
    cell.mountain = model::low8(tipo);
    ++walked;
    if (fillers && walked % 4 == 0 && cell.kind == model::cell_kind::empty) {
      cell.kind = model::cell_kind::mountain_filler;
    }
  }
}

}  // namespace reader
