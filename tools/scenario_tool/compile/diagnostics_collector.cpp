#include "scenario_tool/compile/diagnostics_collector.h"

#include <algorithm>
#include <new>
#include <optional>
#include <stdexcept>

#include "reader/field_reader.h"
#include "reader/keyword.h"

namespace scenario_tool {
namespace {

bool starts_with(const std::string& text, std::string_view prefix) {
  return text.rfind(prefix, 0) == 0;
}

std::optional<std::int64_t> number_in(const source_text& text, std::size_t offset) {
  const std::string_view field = text.field_at(offset, true);
  if (field.empty()) return 0;
  std::size_t i = (field[0] == '+' || field[0] == '-') ? 1 : 0;
  if (i == field.size() || field.size() > 12) return std::nullopt;
  std::int64_t value = 0;
  for (; i < field.size(); ++i) {
    if (field[i] < '0' || field[i] > '9') return std::nullopt;
    value = value * 10 + (field[i] - '0');
  }
  return field[0] == '-' ? -value : value;
}

}  // namespace

diagnostics_collector::diagnostics_collector(const source_text& line, const source_text& train,
                                             const model::scenario_model& model, bool plan)
    : line_(line), train_(train), model_(model), warnings_(plan) {}

const source_text& diagnostics_collector::text_of(model::description_text which) const {
  return which == model::description_text::line ? line_ : train_;
}

void diagnostics_collector::text_started(model::description_text text, std::string_view) {
  finish_row();
  which_ = text;
  reading_ = true;
  header_ = text == model::description_text::line;
  any_field_ = false;
  for (diagnostic& d : encoding_warnings(text_of(text))) out_.push_back(std::move(d));
}

void diagnostics_collector::field_started(std::size_t offset) {
  last_field_ = offset;
  any_field_ = true;
  if (row_.text != nullptr) row_.fields.push_back(offset);
}

void diagnostics_collector::row_started() {
  finish_row();
  row_.text = &text_of(which_);
  row_.fields = {last_field_};
}

void diagnostics_collector::row_finished() {
  finish_row();
}

void diagnostics_collector::body_started() {
  finish_row();
  header_ = false;
}

void diagnostics_collector::finish_row() {
  if (row_.text == nullptr) return;
  const bool line_header = header_ && which_ == model::description_text::line;
  warnings_.check({row_.text, which_, line_header, row_.fields}, out_);
  if (line_header && row_.fields.size() == 4) {
    // The chainage references as read, for an error 2 found after ordering.
    const std::string keyword(row_.text->field_at(row_.fields[0], false));
    const char* words[] = {"tre", "due", "uno"};
    int matched = -1;
    int count = 0;
    for (int k = 0; k < 3; ++k) {
      if (reader::contains(keyword, words[k]) && reader::contains(keyword, "progressiva")) {
        matched = k;
        ++count;
      }
    }
    if (count == 1) references_[matched] = row_;
  }
  row_ = {};
}

std::size_t diagnostics_collector::field_at_fault(std::int32_t code, const row_place& row) const {
  switch (code) {
    case 4:  // the signal repetition's second number
      return 2;
    case 9:  // the platform length
      return 3;
    case 5:
    case 10:
      return 0;
    case 103: {
      // No radius digit in the keyword, or a plan that runs too far: the length.
      const std::string keyword(row.text->field_at(row.fields[0], false));
      return keyword.find_first_of("123456") == std::string::npos ? 0 : 2;
    }
    default:  // the row's chainage, or the number that is out of bounds
      return 1;
  }
}

diagnostic diagnostics_collector::at_field(const row_place& row, std::size_t field,
                                           severity level) const {
  return diagnostic_at(*row.text, row.fields[std::min(field, row.fields.size() - 1)], level);
}

void diagnostics_collector::error_recorded(std::int32_t code, const std::int32_t* position) {
  diagnostic d;
  if (walking_ || code == 2) {
    d = diagnostic_for(walking_ ? nullptr : &line_, severity::error);  // placed just below
  } else if (code == 25) {
    const source_text& text = text_of(which_);
    d = failure_placed_ ? diagnostic_at(text, failure_offset_, severity::error)
                        : diagnostic_for(&text, severity::error);
    d.text = failure_reason_;
  } else if (row_.text != nullptr) {
    d = at_field(row_, field_at_fault(code, row_), severity::error);
  } else {
    d = diagnostic_for(&text_of(which_), severity::error);
  }
  d.code = code;
  if (position != nullptr) d.position = *position;
  out_.push_back(std::move(d));
}

void diagnostics_collector::error_position_recorded(std::int32_t position) {
  for (auto it = out_.rbegin(); it != out_.rend(); ++it) {
    if (it->code != 0) {
      it->position = position;
      return;
    }
  }
}

void diagnostics_collector::error_from_cell(std::int64_t cell) {
  const auto found = cell_rows_.find(cell);
  if (found == cell_rows_.end() || out_.empty()) return;
  diagnostic placed = at_field(found->second, 1, severity::error);
  placed.code = out_.back().code;
  placed.position = out_.back().position;
  out_.back() = std::move(placed);
}

void diagnostics_collector::error_from_reference(int entry) {
  if (out_.empty() || entry < 81 || entry > 83) return;
  const model::station_entry& now = model_.station_table[static_cast<std::size_t>(entry)];
  for (const row_place& row : references_) {
    if (row.text == nullptr) continue;
    const auto c = number_in(*row.text, row.fields[1]);
    const auto o = number_in(*row.text, row.fields[2]);
    const auto f = number_in(*row.text, row.fields[3]);
    if (!c || !o || !f) continue;
    if (*c != now.start || *f != now.position || *o + (*f == 1 ? 100 : 0) != now.end) continue;
    diagnostic placed = at_field(row, *c % 50 != 0 ? 1 : 2, severity::error);
    placed.code = out_.back().code;
    out_.back() = std::move(placed);
    return;
  }
}

void diagnostics_collector::cell_filled(std::int64_t cell) {
  if (row_.text != nullptr) cell_rows_[cell] = row_;
}

void diagnostics_collector::cell_filled_by_walk(std::int64_t cell, std::int64_t trigger) {
  const auto found = cell_rows_.find(trigger);
  if (found == cell_rows_.end()) return;
  row_place row = found->second;
  row.by_walk = true;
  cell_rows_[cell] = std::move(row);
}

void diagnostics_collector::read_failed(const std::exception& failure) {
  const source_text& text = text_of(which_);
  const std::string what = failure.what();
  const bool in_row = row_.text != nullptr;
  failure_placed_ = in_row || any_field_;
  failure_offset_ = in_row ? row_.fields[0] : last_field_;
  const auto at_last_field = [&](const char* reason) {
    failure_placed_ = any_field_;
    failure_offset_ = last_field_;
    failure_reason_ =
        std::string(reason) + " (\"" + std::string(text.field_at(last_field_, true)) + "\")";
  };
  if (dynamic_cast<const reader::read_error*>(&failure) != nullptr) {
    if (starts_with(what, "not a number")) {
      at_last_field("not a number");
    } else if (starts_with(what, "number out of range")) {
      at_last_field("value does not fit");
    } else if (starts_with(what, "a field is missing")) {
      failure_reason_ = text.bytes().empty() ? "the text is empty" : "the text ends inside a row";
    } else {
      failure_reason_ = what;
    }
  } else if (dynamic_cast<const std::overflow_error*>(&failure) != nullptr) {
    failure_reason_ = "value does not fit";
  } else if (dynamic_cast<const std::out_of_range*>(&failure) != nullptr) {
    failure_reason_ = "the row reaches outside the track cells or the model's tables";
  } else if (dynamic_cast<const std::bad_alloc*>(&failure) != nullptr) {
    failure_reason_ = "out of memory";
  } else {
    failure_reason_ = what;
  }
}

void diagnostics_collector::reading_done() {
  finish_row();
  reading_ = false;
  walking_ = true;
}

void diagnostics_collector::header_slots_taken(std::int32_t number) {
  finish_row();
  const char* slot = number == 1250 ? "format tag" : "check code";
  const auto found = cell_rows_.find(1);
  diagnostic d = found != cell_rows_.end() ? at_field(found->second, 1, severity::error)
                                           : diagnostic_for(nullptr, severity::error);
  d.code = number;
  d.text = std::string("header slot taken: cell 1, reserved for the ") + slot +
           (found == cell_rows_.end() ? ", is already taken"
            : found->second.by_walk   ? ", already holds a speed point placed for this row"
                                      : ", already holds this row's object") +
           "; the run stops and writes no file";
  out_.push_back(std::move(d));
}

void diagnostics_collector::stopped(const std::string& why, bool about_line_text) {
  finish_row();
  diagnostic d = diagnostic_for(about_line_text ? &line_ : nullptr, severity::error);
  d.text = why;
  out_.push_back(std::move(d));
}

std::vector<diagnostic> diagnostics_collector::finish() {
  finish_row();
  return std::move(out_);
}

}  // namespace scenario_tool
