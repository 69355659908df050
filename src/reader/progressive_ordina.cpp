#include <array>
#include <cstdint>
#include <limits>
#include <stdexcept>

#include "reader/record_stores.h"

namespace {

// One kilometric chainage reference: the line chainage from which it
// applies, the offset, and the flag, always moved together.
struct reference {
  std::int32_t chainage = 0;
  std::int32_t offset = 0;
  std::int32_t flag = 0;
};

using ordered = std::array<reference, 3>;

// The references ordered by chainage, largest first. With no single largest
// chainage the order is left empty; between the second and the third a tie
// puts U before D and T, and D before T.
ordered by_chainage(const reference& t, const reference& d, const reference& u) {
  if (t.chainage > d.chainage && t.chainage > u.chainage) {
    return d.chainage > u.chainage ? ordered{t, d, u} : ordered{t, u, d};
  }
  if (d.chainage > t.chainage && d.chainage > u.chainage) {
    return t.chainage > u.chainage ? ordered{d, t, u} : ordered{d, u, t};
  }
  if (u.chainage > t.chainage && u.chainage > d.chainage) {
    return t.chainage > d.chainage ? ordered{u, t, d} : ordered{u, d, t};
  }
  return ordered{};
}

// All chainages summing to 0: the order follows which offset is positive, a
// later test overriding an earlier one.
ordered by_offset(const reference& t, const reference& d, const reference& u) {
  ordered result{};
  if (t.offset > 0) result = {t, d, u};
  if (d.offset > 0) result = {d, t, u};
  if (u.offset > 0) result = {u, d, t};
  return result;
}

}  // namespace

namespace reader {

// Orders the three chainage references in entries 81 to 83 so that entry 81
// holds the one that applies furthest along the line, then adds 100 to the
// offset of each reference flagged 1.
void progressive_ordina(model::scenario_model& model) {
  auto& tre = model.station(model::entry::reference_tre);
  auto& due = model.station(model::entry::reference_due);
  auto& uno = model.station(model::entry::reference_uno);
  const reference t{tre.start, tre.end, tre.position};
  const reference d{due.start, due.end, due.position};
  const reference u{uno.start, uno.end, uno.position};

  const std::int64_t sum = static_cast<std::int64_t>(t.chainage) + d.chainage + u.chainage;
  ordered result = sum != 0 ? by_chainage(t, d, u) : by_offset(t, d, u);

  // The flag's 100 m is added before anything is written: an offset that
  // would leave the 32-bit range fails the whole ordering.
  for (reference& r : result) {
    if (r.flag != 1) continue;
    if (r.offset > std::numeric_limits<std::int32_t>::max() - 100) {
      throw std::overflow_error("chainage reference offset does not fit a 32-bit integer");
    }
    r.offset += 100;
  }

  model::station_entry* entries[] = {&tre, &due, &uno};
  for (std::size_t i = 0; i < result.size(); ++i) {
    entries[i]->start = result[i].chainage;
    entries[i]->end = result[i].offset;
    entries[i]->position = result[i].flag;
  }
}

}  // namespace reader
