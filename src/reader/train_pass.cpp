// The train pass: the train description text into the train data, the line
// speeds and adhesion of the cells, the stations, slowdowns, signals and
// speed points.
#include <cstdint>
#include <stdexcept>
#include <string>

#include "model/conversions.h"
#include "reader/body_rows.h"
#include "reader/cell_rules.h"
#include "reader/passes.h"
#include "reader/record_stores.h"
#include "reader/row_keywords.h"

namespace reader {
namespace {

using model::low16;
using model::low8;

struct train_body : row_exits {
  train_body(model::scenario_model& model, field_reader& r, row_follower& follower,
             const reader_state& s)
      : row_exits{model, follower}, model_(model), fields(r), state(s) {}

  model::scenario_model& model_;
  field_reader& fields;
  const reader_state& state;
  std::int32_t speed_fill = 0;
  std::int32_t speed = 0;
  std::int32_t adhesion_fill = 0;
  std::int32_t adhesion = 0;
  std::int32_t station = 1;  // next station entry

  model::scenario_model& m() { return model_; }

  // Line speeds are stored in units of 5 km/h; one that does not fit a byte
  // cannot be stored.
  std::uint8_t speed_units() const { return model::round_to_byte(speed / 5.0); }

  void write_speed(model::track_cell& cell) const { cell.speed_limit = speed_units(); }
  void write_adhesion(model::track_cell& cell) const { cell.adhesion = low8(adhesion); }

  // Every row whose test the keyword field passes, in table order. Returns
  // false when a row ends the pass (error 15 or an error exit).
  bool apply(const std::string& keyword) {
    for (const row_keyword& row : row_keywords_of(row_section::train_body)) {
      if (!matches(row, keyword, m().plan_flag != 0)) continue;
      this->row.entry(row);
      if (!apply_row(row.kind)) return false;
    }
    return true;
  }

  bool apply_row(row_kind kind) {
    switch (kind) {
      case row_kind::braked_mass:
        m().station(model::entry::train_data).start = fields.read_number();
        return true;
      case row_kind::coaches:
        m().station(model::entry::train_data).position = fields.read_number();
        return true;
      case row_kind::line_speed: {
        const std::int32_t p = fields.read_number();
        const std::int32_t v = fields.read_number();
        row.lands(1, cell_at(p));
        if (!within_cells(m(), p, 100)) return beyond_cells(p);
        fill_cells_to_row(m(), speed_fill, p, [&](auto& cell) { write_speed(cell); });
        speed = v;
        return true;
      }
      case row_kind::adhesion: {
        const std::int32_t p = fields.read_number();
        const std::int32_t a = fields.read_number();
        row.lands(1, cell_at(p));
        if (!within_cells(m(), p, 100)) return beyond_cells(p);
        fill_cells_to_row(m(), adhesion_fill, p, [&](auto& cell) { write_adhesion(cell); });
        adhesion = a;
        return true;
      }
      case row_kind::clock: {
        auto& train = m().station(model::entry::train_header);
        train.group2_a = low16(fields.read_number());
        train.group2_b = low16(fields.read_number());
        train.group2_c = low16(fields.read_number());
        return true;
      }
      case row_kind::sand:
        m().station(model::entry::train_header).group1_a = low16(fields.read_number());
        return true;
      case row_kind::signal: {
        std::int32_t v[11];
        for (auto& value : v) value = fields.read_number();
        row.lands(1, cell_after(v[0]));
        if (!within_cells(m(), v[0], 100)) return beyond_cells(v[0]);
        return store(v[0], [&] {
          memo_segnale(m(), v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10]);
        });
      }
      case row_kind::slowdown: {
        std::int32_t v[6];
        for (auto& value : v) value = fields.read_number();
        row.lands(1, cell_after(v[0]));
        if (!within_cells(m(), v[0], 100)) return beyond_cells(v[0]);
        return store(v[0], [&] { memo_rallentamento(m(), v[0], v[1], v[2], v[3], v[4], v[5]); });
      }
      case row_kind::speed_point:
        return read_speed_point();
      case row_kind::station:
        return read_station();
      default:
        throw std::logic_error("a line text's row among the train text's rows");
    }
  }

  bool read_speed_point() {
    const std::int32_t p = fields.read_number();
    const std::int32_t w = fields.read_number();
    row.lands(1, cell_at(p));
    if (!within_cells(m(), p, 100)) return beyond_cells(p);
    auto& cell = m().cell(cell_at(p));
    if (!model::is_free(cell)) {
      m().note_taken(cell_at(p));
      return error_exit(7, 1, p);
    }
    if (w < 1) {
      cell.kind = model::cell_kind::speed_point_without_speed;
    } else {
      cell.kind = model::cell_kind::speed_point;
      cell.value = low16(w);
    }
    m().note_filled(cell_at(p));
    return true;
  }

  bool read_station() {
    const std::int32_t i = station;
    auto& entry = m().station(i);
    entry.position = fields.read_number();
    const std::int32_t position = entry.position;
    row.lands(1, cell_at(position));
    if (!within_cells(m(), position, 800)) return beyond_cells(position);
    if (position % 50 != 0) return error_exit(8, 1, position);
    entry.kind = low8(fields.read_number());
    const std::int32_t length = fields.read_number();
    if (length % 100 != 0) return error_exit(9, 3, position);
    entry.flag_a = low8(fields.read_number());
    entry.flag_b = low8(fields.read_number());
    entry.end_shift = low8(fields.read_number());
    entry.group1_a = low16(fields.read_number());
    entry.group1_b = low16(fields.read_number());
    entry.group1_c = low8(fields.read_number());
    entry.group2_a = low16(fields.read_number());
    entry.group2_b = low16(fields.read_number());
    entry.group2_c = low16(fields.read_number());
    entry.stop = low8(fields.read_number());
    const std::int64_t hours = fields.read_number();
    const std::int64_t minutes = fields.read_number();
    const std::int64_t seconds = fields.read_number();
    entry.time = model::round_to_long(static_cast<double>((hours * 60 + minutes) * 60 + seconds));
    entry.name = fields.read_text();

    // The platform, and the end from which the stop point is derived.
    const std::uint8_t type = entry.kind;
    if (type == 5 || type == 6) {
      entry.end = model::round_to_long(static_cast<double>(position) + 150);
      entry.start = model::round_to_long(static_cast<double>(position) - length);
      entry.end_shift = 0;
    } else if (type == 7 || type == 8) {
      entry.start = model::round_to_long(static_cast<double>(position) - length);
      entry.end = model::round_to_long(static_cast<double>(position) + length);
      entry.end_shift = 0;
    } else {
      entry.start = model::round_to_long(position - length / 2.0);
      entry.end = model::round_to_long(position + length / 2.0 + (entry.end_shift != 0 ? 50 : 0));
    }
    if (length < 600) entry.flag_b = 0;
    if (i == 1) {
      entry.end_shift = 0;
      entry.flag_b = 0;
    }

    const double end_cells = entry.end / 50.0;
    if (type < 25 && type != 5 && type != 6) {
      for (int r = 1; r <= 4; ++r) {
        if (end_cells - r - 1 > 1) {
          m().cell(model::round_to_long(end_cells - r - 1)).approach = low8(80 + r);
        }
      }
    }
    if (type < 25) {
      if (!(end_cells - 1 > 1)) return error_exit(24, 1);
      const std::int32_t stop_cell = model::round_to_long(end_cells - 1);
      auto& stop = m().cell(stop_cell);
      stop.kind = model::cell_kind::stop_point;
      stop.value = low16(i);
      m().note_filled(stop_cell);
    }
    if (i > 1 && std::int64_t{entry.start} - 350 < m().station(i - 1).end) {
      return error_exit(22, 1, position);
    }
    station = i + 1;
    if (station >= state.next_sign_entry) return error_exit(10, 0);
    return true;
  }
};

// The train text, read with `fields`, each row followed by `row`.
pass_end read_train(model::scenario_model& m, field_reader& fields, row_follower& row,
                    const reader_state& state) {
  while (!fields.at_end()) {
    if (contains_nocase(fields.read_text(), "[generale]")) {
      if (m.diagnostics != nullptr) m.diagnostics->body_started();
      break;
    }
  }

  train_body body(m, fields, row, state);
  while (auto keyword = next_body_keyword(fields)) {
    row.start(model::description_text::train, false);
    if (!body.apply(*keyword)) {
      row.end(false, m.error_code);
      break;
    }
    row.end(true, 0);
  }
  if (body.stopped) return pass_end::stopped;

  fill_cells(m, body.speed_fill, m.cell_count - 2, [&](auto& cell) { body.write_speed(cell); });
  fill_cells(m, body.adhesion_fill, m.cell_count - 2,
             [&](auto& cell) { body.write_adhesion(cell); });
  for (int e = model::entry::reference_tre; e <= model::entry::reference_uno; ++e) {
    if (m.station(e).start % 50 != 0 || m.station(e).end % 50 != 0) {
      m.record_error(2);
      if (m.diagnostics != nullptr) m.diagnostics->error_from_reference(e);
    }
  }
  return pass_end::completed;
}

}  // namespace

pass_end train_pass(model::scenario_model& m, std::string_view text, const reader_state& state) {
  field_reader fields(text, m.diagnostics);
  row_follower row(m, fields);
  try {
    return read_train(m, fields, row, state);
  } catch (...) {
    row.cut_short();
    throw;
  }
}

}  // namespace reader
