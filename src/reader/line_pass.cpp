// The line pass: the line description text into the cells, the plan, the
// chainage references, the mountain tables and the sign texts.
#include <cstdint>
#include <stdexcept>
#include <string>

#include "model/conversions.h"
#include "reader/body_rows.h"
#include "reader/cell_rules.h"
#include "reader/passes.h"
#include "reader/plan_steps.h"
#include "reader/record_stores.h"
#include "reader/row_keywords.h"

namespace reader {
namespace {

constexpr std::int32_t last_plan_step = 1000000;

// One header row whose test the keyword field passed. Returns false on an
// error exit.
bool apply_header_row(model::scenario_model& m, row_kind kind, const std::string& keyword,
                      field_reader& fields, row_exits& exits) {
  const auto read_reference = [&](int entry) {
    auto& e = m.station(entry);
    e.start = fields.read_number();
    e.end = fields.read_number();
    e.position = fields.read_number();
  };
  auto& route = m.station(model::entry::route_header);
  switch (kind) {
    case row_kind::line_length: {
      const std::int32_t length = fields.read_number();
      m.station(model::entry::train_data).end = length;
      if (length > model::longest_line) return exits.error_exit(1, 1);
      const std::int64_t extended = std::int64_t{length} + model::extra_length;
      if (extended < 0) throw read_error("line length " + std::to_string(length) + " is negative");
      m.extended_length = static_cast<std::int32_t>(extended);
      m.cell_count = model::round_to_long(m.extended_length / 50.0);
      m.track_cells.assign(static_cast<std::size_t>(m.cell_count) + 1, model::track_cell{});
      if (m.plan_flag != 0) m.plan = model::track_plan(m.extended_length);
      return true;
    }
    case row_kind::reference_tre:
      read_reference(model::entry::reference_tre);
      return true;
    case row_kind::reference_due:
      read_reference(model::entry::reference_due);
      return true;
    case row_kind::reference_uno:
      read_reference(model::entry::reference_uno);
      return true;
    case row_kind::background_uno:
      route.start = fields.read_number();
      return true;
    case row_kind::background_due:
      route.position = fields.read_number();
      return true;
    case row_kind::background_tre:
      route.end = fields.read_number();
      return true;
    case row_kind::signal_repetition: {
      auto& train = m.station(model::entry::train_header);
      train.start = fields.read_number();
      train.end = fields.read_number();
      if (train.start % 50 != 0) return exits.error_exit(3, 1);
      if (train.end % 50 != 0) return exits.error_exit(4, 2);
      if (contains(keyword, "4")) {
        train.position = 4;
      } else if (contains(keyword, "9")) {
        train.position = 9;
      } else {
        return exits.error_exit(5, 0);
      }
      if (train.end == 0) train.position = 0;
      return true;
    }
    default:
      throw std::logic_error("a body row among the header rows");
  }
}

// Every header row whose test the keyword field passes, in table order.
bool apply_header_rows(model::scenario_model& m, const std::string& keyword, field_reader& fields,
                       row_exits& exits) {
  const bool plan = m.plan_flag != 0;
  for (const row_keyword& row : row_keywords_of(row_section::line_header)) {
    if (!matches(row, keyword, plan)) continue;
    exits.row.entry(row);
    if (!apply_header_row(m, row.kind, keyword, fields, exits)) return false;
  }
  return true;
}

// The running state of the body.
struct line_body : row_exits {
  line_body(model::scenario_model& model, field_reader& r, row_follower& follower, reader_state& s)
      : row_exits{model, follower}, model_(model), fields(r), state(s), plan(model.plan) {}

  model::scenario_model& model_;
  field_reader& fields;
  reader_state& state;
  plan_builder plan;
  std::int32_t gradient_fill = 0;
  std::int32_t gradient = 0;

  model::scenario_model& m() { return model_; }

  void write_gradient(model::track_cell& cell) const {
    cell.gradient = model::low8(std::int64_t{gradient} + 100);
  }

  // Every body row whose test the keyword field passes, in table order.
  // Returns false when a row ends the pass (error 15 or an error exit).
  bool apply(const std::string& keyword) {
    for (const row_keyword& row : row_keywords_of(row_section::line_body)) {
      if (!matches(row, keyword, m().plan_flag != 0)) continue;
      this->row.entry(row);
      if (!apply_row(row.kind, keyword)) return false;
    }
    return true;
  }

  bool apply_row(row_kind kind, const std::string& keyword) {
    switch (kind) {
      case row_kind::gradient: {
        const std::int32_t p = fields.read_number();
        const std::int32_t g = fields.read_number();
        row.lands(1, cell_at(p));
        if (!within_cells(m(), p, 100)) return beyond_cells(p);
        fill_cells_to_row(m(), gradient_fill, p, [&](auto& cell) { write_gradient(cell); });
        gradient = g;
        return true;
      }
      case row_kind::curve: {
        const std::int32_t s = fields.read_number();
        const std::int32_t n = fields.read_number();
        row.lands(1, cell_at(s));
        if (!within_cells(m(), s, 100)) return beyond_cells(s);
        double k = 0.0;
        // No radius digit in the keyword is the keyword's fault; a plan that
        // runs too far the start's (on the straight before it) or the length's.
        if (!curvature_of(keyword, k)) return error_exit(103, 0);
        while (plan.next_metre() <= s) {
          plan.step(0.0);
          if (plan.next_metre() > last_plan_step) return error_exit(103, 1);
        }
        const std::int64_t curve_end = std::int64_t{s} + n;
        while (plan.next_metre() <= curve_end) {
          plan.step(k);
          if (plan.next_metre() > last_plan_step) return error_exit(103, 2);
        }
        return true;
      }
      case row_kind::mountain: {
        const std::int32_t inizio = fields.read_number();
        const std::int32_t fine = fields.read_number();
        const std::int32_t tipo = fields.read_number();
        row.lands(1, cell_at(inizio));
        row.lands(2, cell_before(fine));
        if (!within_cells(m(), inizio, 100)) return beyond_cells(inizio);
        return store(inizio, [&] { memo_montagna(m(), inizio, fine, tipo); });
      }
      case row_kind::speed_indicators: {
        std::int32_t v[9];
        for (auto& value : v) value = fields.read_number();
        row.lands(1, cell_after(v[0]));
        if (!within_cells(m(), v[0], 100)) return beyond_cells(v[0]);
        return store(v[0], [&] {
          memo_indicatori_v_max(m(), v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]);
        });
      }
      case row_kind::sign:
        return read_sign();
      default:
        throw std::logic_error("a row of another section among the line body's rows");
    }
  }

  bool read_sign() {
    // The chainage is checked before the text is read: a sign beyond the
    // cells ends the reading even when the text stops right after it.
    const std::int32_t p = fields.read_number();
    row.lands(1, cell_after(p));
    if (!within_cells(m(), p, 100)) return beyond_cells(p);
    m().text_field = fields.read_text();
    const std::int32_t cell = cell_after(p);
    if (!model::is_free(m().cell(cell))) {
      m().note_taken(cell);
      return error_exit(6, 1, p);
    }
    // Entry 0 is reserved: sign texts use entries 80 down to 1.
    if (state.next_sign_entry < 1) throw read_error("more sign rows than the station table holds");
    const std::int32_t e = state.next_sign_entry;
    m().station(e).name = m().text_field;
    auto& target = m().cell(cell);
    target.kind = model::cell_kind::sign;
    target.value = model::low16(e);
    m().note_filled(cell);
    state.next_sign_entry = e - 1;
    return true;
  }
};

// The line text, read with `fields`, each row followed by `row`.
pass_end read_line(model::scenario_model& m, field_reader& fields, row_follower& row,
                   reader_state& state) {
  // Everything up to "[generale]", in any letter case, is skipped.
  for (;;) {
    const std::string field = fields.read_text();
    if (fields.at_end()) {
      m.record_error(102);
      if (m.diagnostics != nullptr) m.diagnostics->reading_stopped(model::reading_stop::reader);
      return pass_end::stopped;
    }
    if (contains_nocase(field, "[generale]")) break;
  }

  // The header, up to the first section header.
  for (;;) {
    if (fields.at_end()) break;
    std::string keyword = fields.read_text();
    if (fields.at_end()) break;
    for (int dash = 0; dash < 10 && contains(keyword, "-"); ++dash) keyword = fields.read_text();
    row.start(model::description_text::line, true);
    row_exits exits{m, row};
    if (!apply_header_rows(m, keyword, fields, exits)) {
      row.end(false, m.error_code);
      return pass_end::stopped;
    }
    row.end(true, 0);
    if (ends_header(keyword)) break;
  }
  if (m.track_cells.empty()) throw read_error("the line description gives no line length");

  progressive_ordina(m);
  m.mountain_count = 0;
  state.next_sign_entry = model::entry::first_sign;
  line_body body(m, fields, row, state);
  if (m.plan_flag != 0) body.plan.seed();
  if (m.diagnostics != nullptr) m.diagnostics->body_started();

  while (auto keyword = next_body_keyword(fields)) {
    row.start(model::description_text::line, false);
    if (!body.apply(*keyword)) {
      row.end(false, m.error_code);
      break;
    }
    row.end(true, 0);
  }
  if (body.stopped) return pass_end::stopped;

  fill_cells(m, body.gradient_fill, m.cell_count - 2,
             [&](auto& cell) { body.write_gradient(cell); });
  if (m.plan_flag != 0) {
    // The tail runs straight on to the plan's own end; the last two metres stay empty.
    while (body.plan.next_metre() <= m.plan.last_metre() - 2) body.plan.step(0.0);
  }
  return pass_end::completed;
}

}  // namespace

pass_end line_pass(model::scenario_model& m, std::string_view text, reader_state& state) {
  field_reader fields(text, m.diagnostics);
  row_follower row(m, fields);
  try {
    return read_line(m, fields, row, state);
  } catch (...) {
    row.cut_short();
    throw;
  }
}

}  // namespace reader
