#include "assembly/cell_walk.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

#include "model/conversions.h"

namespace assembly {

namespace {

using index = std::int64_t;
using model::cell_kind::signal;
using model::cell_kind::slowdown_end;
using model::cell_kind::slowdown_start;
using model::cell_kind::slowdown_warning;
using model::cell_kind::speed_point;

// Position in metres of a cell, as the error record holds it.
std::int32_t metres(index cell) {
  return static_cast<std::int32_t>(cell * 50);
}

class cell_walk {
 public:
  explicit cell_walk(model::scenario_model& m) : model_(m), last_(m.cell_count) {
    if (last_ < 0 || static_cast<std::size_t>(last_) + 1 != m.track_cells.size()) {
      throw std::logic_error("cell_count " + std::to_string(m.cell_count) +
                             " does not match a table of " + std::to_string(m.track_cells.size()) +
                             " cells");
    }
  }

  void run() {
    for (index i = 1; i <= last_ - 2; ++i) {
      trigger_ = i;
      if (kind(i) == slowdown_warning) signals_before_warning(i);
      if (kind(i) == slowdown_start) {
        windows_before_start(i);
        if (model_.cell(i).value < slow_slowdown_limit) {
          const std::optional<index> end = cadence_to_end(i);
          if (end) signal_after_end(*end);
        }
      }
    }
  }

 private:
  std::uint8_t kind(index c) const { return model_.cell(c).kind; }
  bool is_free(index c) const { return model::is_free(model_.cell(c)); }

  void place(index c) {
    model::track_cell& cell = model_.cell(c);
    cell.kind = speed_point;
    cell.value = walk_speed;
    if (model_.diagnostics != nullptr) model_.diagnostics->cell_filled_by_walk(c, trigger_);
  }

  // An error at `at`, caused by the object that lies in `origin`.
  void record(std::int32_t code, index at, index origin) {
    model_.record_error(code, metres(at));
    if (model_.diagnostics != nullptr) model_.diagnostics->error_from_cell(origin);
  }

  void lower(index c) {
    model::track_cell& cell = model_.cell(c);
    cell.value = model::round_to_short(model::minimo(walk_speed, cell.value));
  }

  // Rule A: every signal up to 20 cells before a warning point, down to cell
  // 3, gets a speed point in one of the two cells just before it, or has an
  // existing one there lowered to the walk's speed.
  void signals_before_warning(index i) {
    for (index d = 1; d <= 20; ++d) {
      const index s = i - d;
      if (s < 3) return;
      if (kind(s) != signal) continue;
      const index a = s - 1;
      const index b = s - 2;
      if (is_free(a)) {
        place(a);
      } else if (is_free(b)) {
        place(b);
      } else if (kind(a) == speed_point) {
        lower(a);
      } else if (kind(b) == speed_point) {
        lower(b);
      } else {
        record(11, s, s);
      }
    }
  }

  // Rule B: three windows of three cells ahead of a slowdown start, each
  // tried nearest first, each only when the line before the start is long
  // enough to hold it.
  void windows_before_start(index i) {
    struct window {
      index guard;
      index nearest;
    };
    static constexpr window windows[] = {{7, 5}, {13, 11}, {20, 18}};
    for (const window& w : windows) {
      if (i <= w.guard) continue;
      bool placed = false;
      for (index k = 0; k < 3 && !placed; ++k) {
        const index c = i - w.nearest - k;
        if (is_free(c)) {
          place(c);
          placed = true;
        }
      }
      if (!placed) record(12, i, i);
    }
  }

  // Rule C: a speed point every 8 cells from a slow slowdown's start to its
  // end. Returns the end cell, or nothing when the walk reached the last cell
  // without finding one (recorded as error 13 there).
  std::optional<index> cadence_to_end(index i) {
    index n = 0;
    index c = i;
    for (;;) {
      ++c;
      ++n;
      if (n == 8) {
        if (is_free(c)) {
          place(c);
          n = 0;
        } else if (is_free(c - 1)) {
          place(c - 1);
          n = 1;
        } else if (c + 1 <= last_ && is_free(c + 1)) {
          place(c + 1);
          n = -1;
        } else {
          record(13, c, i);
        }
      }
      if (kind(c) == slowdown_end) return c;
      if (c >= last_) {
        record(13, c, i);
        return std::nullopt;
      }
    }
  }

  // Rule D: a speed point just before the first signal within 12 cells after
  // a slow slowdown's end cell, never searching past the last cell.
  void signal_after_end(index c) {
    std::optional<index> t;
    for (index m = c; m <= c + 12 && m <= last_; ++m) {
      if (kind(m) == signal) {
        t = m - 1;
        break;
      }
    }
    if (!t || *t <= 0) return;
    if (is_free(*t)) {
      place(*t);
    } else if (is_free(*t - 1)) {
      place(*t - 1);
    } else {
      record(13, c, c);
    }
  }

  model::scenario_model& model_;
  const index last_;
  index trigger_ = 0;  // the cell whose object the walk is serving
};

}  // namespace

void percorri_celle(model::scenario_model& model) {
  cell_walk(model).run();
}

}  // namespace assembly
