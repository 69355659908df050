#include "scenario_tool/compile/diagnostics_collector.h"

#include <algorithm>
#include <filesystem>
#include <new>
#include <optional>
#include <stdexcept>

#include "model/record_words.h"
#include "reader/field_reader.h"
#include "reader/keyword.h"
#include "reader/row_keywords.h"

namespace scenario_tool {
namespace {

bool starts_with(const std::string& text, std::string_view prefix) {
  return text.rfind(prefix, 0) == 0;
}

// "1 radius 10000 m, 2 5000 m, ...": each curve digit and the radius it sets.
std::string curve_digit_list() {
  std::string list;
  for (const model::curve_digit& curve : model::curve_digits) {
    if (!list.empty()) list += ", ";
    list += curve.digit;
    list += list.size() == 1 ? " radius " : " ";
    list += std::to_string(model::curve_radius(curve)) + " m";
  }
  return list;
}

}  // namespace

diagnostics_collector::diagnostics_collector(const source_text& line, const source_text& train,
                                             const model::scenario_model& model, bool plan)
    : line_(line), train_(train), model_(model), warnings_(plan), plan_(plan) {}

const source_text& diagnostics_collector::text_of(model::description_text which) const {
  return which == model::description_text::line ? line_ : train_;
}

void diagnostics_collector::text_started(model::description_text text, std::string_view) {
  finish_row();
  which_ = text;
  text_seen_[static_cast<int>(text)] = true;
  reading_ = true;
  header_ = text == model::description_text::line;
  any_field_ = false;
  recent_fields_.clear();
  for (diagnostic& d : encoding_warnings(text_of(text))) out_.push_back(std::move(d));
}

void diagnostics_collector::field_started(std::size_t offset) {
  if (any_field_) {
    recent_fields_.insert(recent_fields_.begin(), last_field_);
    if (recent_fields_.size() > 3) recent_fields_.pop_back();
  }
  last_field_ = offset;
  any_field_ = true;
  if (row_.text != nullptr) row_.fields.push_back(offset);
}

void diagnostics_collector::row_started() {
  finish_row();
  row_open_ = true;
  row_error_.reset();
  row_.text = &text_of(which_);
  row_.fields = {last_field_};
  row_.before = recent_fields_;
}

void diagnostics_collector::row_finished() {
  row_complete_ = true;
  finish_row();
  row_complete_ = false;
}

void diagnostics_collector::body_started() {
  finish_row();
  header_ = false;
  if (which_ == model::description_text::train) generale_ = last_field_;
}

void diagnostics_collector::finish_row() {
  if (row_.text == nullptr) return;
  const bool line_header = header_ && which_ == model::description_text::line;
  const std::vector<const reader::row_keyword*> entries = entries_of(row_.reading.entries);
  const auto only = [&](reader::row_kind kind) {
    return entries.size() == 1 && entries.front()->kind == kind;
  };
  if (which_ == model::description_text::train && row_.fields.size() >= 3) {
    if (only(reader::row_kind::line_speed)) last_speed_row_ = row_;
    if (only(reader::row_kind::station) && row_.fields.size() >= 18) station_rows_.push_back(row_);
  }
  // A keyword field that matched a row reads values after it.
  if (!line_header && row_.fields.size() > 1) rows_read_[static_cast<int>(which_)] += 1;
  read_row read;
  read.text = row_.text;
  read.which = which_;
  read.header = line_header;
  read.fields = row_.fields;
  read.before = row_.before;
  read.complete = row_complete_;
  read.entries = entries;
  read.values = row_.reading.values;
  if (!model_.track_cells.empty()) {
    read.line_length = model_.station_table[model::entry::train_data].end;
    read.last_cell = model_.cell_count;
  }
  const std::size_t before = out_.size();
  warnings_.check(read, out_);
  for (std::size_t i = before; i < out_.size(); ++i) {
    if (out_[i].name == "body-row-in-header") ++body_rows_in_header_;
  }
  if (line_header && reader::ends_header(row_.text->field_at(row_.fields[0], false))) {
    header_closed_ = true;
  }
  if (line_header && row_.fields.size() == 4) {
    // The chainage references as read, for an error 2 found after ordering.
    static constexpr reader::row_kind references[] = {reader::row_kind::reference_tre,
                                                      reader::row_kind::reference_due,
                                                      reader::row_kind::reference_uno};
    int matched = -1;
    int count = 0;
    for (int k = 0; k < 3; ++k) {
      for (const reader::row_keyword* e : entries) {
        if (e->kind != references[k]) continue;
        matched = k;
        ++count;
      }
    }
    if (count == 1) references_[matched] = row_;
  }
  row_ = {};
}

diagnostic diagnostics_collector::at_field(const row_place& row, std::size_t field,
                                           severity level) const {
  return diagnostic_at(*row.text, row.fields[std::min(field, row.fields.size() - 1)], level);
}

void diagnostics_collector::error_recorded(std::int32_t code, const std::int32_t* position) {
  if (row_open_ && !walking_ && code != 2 && code != 25) {
    // A row's own error: placed once the reader hands the row on, with the
    // value at fault.
    row_error_ = row_error{code, std::nullopt};
    if (position != nullptr) row_error_->position = *position;
    return;
  }
  diagnostic d;
  if (walking_ || code == 2) {
    d = diagnostic_for(walking_ ? nullptr : &line_, severity::error);  // placed just below
  } else if (code == 25) {
    const source_text& text = text_of(which_);
    d = failure_placed_ ? diagnostic_at(text, failure_offset_, severity::error)
                        : diagnostic_for(&text, severity::error);
    d.text = failure_reason_;
    d.headline = failure_headline_;
    // A row read from a comment or a section header: say why it was read as one.
    if (row_.text == &text) {
      read_row read;
      read.text = row_.text;
      read.which = which_;
      read.header = header_ && which_ == model::description_text::line;
      read.fields = row_.fields;
      read.before = row_.before;
      read.entries = entries_of(row_.reading.entries);
      if (const std::string why = read_as_row_words(read, plan_); !why.empty()) {
        d.text += (d.text.empty() ? "" : "; ") + why;
      }
    }
  } else {
    d = diagnostic_for(&text_of(which_), severity::error);
  }
  d.code = code;
  if (position != nullptr) d.position = *position;
  out_.push_back(std::move(d));
  if (code == 25 && failure_note_) {
    out_.push_back(std::move(*failure_note_));
    failure_note_.reset();
  }
}

void diagnostics_collector::row_read(const model::row_reading& row) {
  row_open_ = false;
  row_.reading = row;
  if (row.error == 0 || !row_error_ || row_.text == nullptr) {
    row_error_.reset();
    return;
  }
  diagnostic d = at_field(row_, row.field_at_fault, severity::error);
  d.text = taken_cell_words();
  reword_row_error(d, row_error_->code);
  d.code = row_error_->code;
  d.position = row_error_->position;
  out_.push_back(std::move(d));
  row_error_.reset();
}

void diagnostics_collector::reading_stopped(model::reading_stop how) {
  if (!reading_ || walking_ || how == model::reading_stop::none || out_.empty()) return;
  const source_text& text = text_of(which_);
  std::optional<std::size_t> at;
  if (row_.text != nullptr) {
    at = row_.fields[0];
  } else if (any_field_) {
    at = last_field_;
  }
  const std::size_t line = at ? text.position(*at).line : 0;
  const bool whole_train =
      how == model::reading_stop::reader && which_ == model::description_text::line;
  // Said even when nothing follows, when the error names another row.
  const diagnostic& error =
      out_.back().level == severity::note && out_.size() > 1 ? out_[out_.size() - 2] : out_.back();
  const bool elsewhere = at && (error.file != text.name() || error.line != line);
  name_what_was_not_read(text, line, whole_train, elsewhere ? at : std::nullopt, at);
}

void diagnostics_collector::name_what_was_not_read(const source_text& text, std::size_t line,
                                                   bool whole_train,
                                                   std::optional<std::size_t> always_at,
                                                   std::optional<std::size_t> at) {
  const model::description_text which =
      &text == &line_ ? model::description_text::line : model::description_text::train;
  const unread_rows rest = rows_after(text, line, which, plan_);
  if (rest.last_line != 0) {
    diagnostic d =
        at ? diagnostic_at(text, *at, severity::note) : diagnostic_for(&text, severity::note);
    d.text =
        "the reading of this text stopped here: " +
        (rest.first_line == rest.last_line ? "line " + std::to_string(rest.first_line) + " was"
                                           : "lines " + std::to_string(rest.first_line) + " to " +
                                                 std::to_string(rest.last_line) + " were") +
        " not read (" + rest.summary + ")";
    out_.push_back(std::move(d));
  } else if (always_at) {
    diagnostic d = diagnostic_at(text, *always_at, severity::note);
    d.text = "the reading of this text stopped here";
    out_.push_back(std::move(d));
  }
  if (!whole_train) return;
  const unread_rows train = rows_after(train_, 0, model::description_text::train, plan_);
  if (train.last_line == 0) return;
  diagnostic d = diagnostic_for(&train_, severity::note);
  d.text = "the reading stopped in the line text, so this text was not read at all (" +
           train.summary + ")";
  out_.push_back(std::move(d));
}

void diagnostics_collector::error_position_recorded(std::int32_t position) {
  if (row_error_) {
    row_error_->position = position;
    return;
  }
  for (auto it = out_.rbegin(); it != out_.rend(); ++it) {
    if (it->code != 0) {
      it->position = position;
      return;
    }
  }
}

void diagnostics_collector::error_from_cell(std::int64_t cell) {
  if (out_.empty()) return;
  const auto found = cell_rows_.find(cell);
  diagnostic placed = found != cell_rows_.end() ? at_field(found->second, 1, severity::error)
                                                : std::move(out_.back());
  placed.code = out_.back().code;
  placed.position = out_.back().position;
  if (placed.position) {
    placed.text = walk_error_words(placed.code, *placed.position / 50, cell, placed.file);
  }
  out_.back() = std::move(placed);
}

void diagnostics_collector::reword_row_error(diagnostic& d, std::int32_t code) const {
  const auto line_of = [](const row_place& row) {
    return std::to_string(row.text->position(row.fields[0]).line);
  };
  if (code == 22 && !station_rows_.empty()) {
    const std::size_t entry = station_rows_.size() + 1;  // this station's entry
    if (entry >= model_.station_table.size()) return;
    const model::station_entry& previous = model_.station_table[entry - 1];
    const model::station_entry& here = model_.station_table[entry];
    const std::string previous_words = "station " + previous.name + " at " +
                                       std::to_string(previous.position) + " m (line " +
                                       line_of(station_rows_.back()) + ")";
    if (here.position <= previous.position) {
      d.headline = "stations out of order";
      d.text = "station " + here.name + " at " + std::to_string(here.position) + " m comes after " +
               previous_words + ": stations follow the line's order, from its start";
    } else {
      d.headline = "stations too close";
      d.text = "the platform of station " + here.name + " starts at " + std::to_string(here.start) +
               " m, less than 350 m after the end of the platform "
               "of " +
               previous_words + ", at " + std::to_string(previous.end) + " m";
    }
  } else if (code == 24) {
    const std::size_t entry = station_rows_.size() + 1;
    if (entry >= model_.station_table.size()) return;
    const model::station_entry& here = model_.station_table[entry];
    if (here.position < 0) {
      d.headline = "station before the start of the line";
      d.text = "station " + here.name + " at " + std::to_string(here.position) +
               " m lies before the line's start, at 0 m";
    } else {
      d.text = "the platform of station " + here.name + " ends at " + std::to_string(here.end) +
               " m, so its stop point would fall in cell " + std::to_string(here.end / 50 - 1) +
               "; it must fall in cell 2 or later";
    }
  } else if (code == 15 && row_.text != nullptr && row_.fields.size() >= 2 &&
             !model_.track_cells.empty()) {
    // The row's chainage and (for a station, 800 m past it) its reach must
    // fall within the cells: the line and the run-out the compile adds to it.
    // The entry that recorded it is the one applied last; its chainage is at fault.
    const model::row_reading& reading = row_.reading;
    if (reading.entries.empty() || reading.field_at_fault == 0 ||
        reading.field_at_fault > reading.values.size()) {
      return;
    }
    const reader::row_keyword& kind = reader::row_keywords[reading.entries.back()];
    const auto p = reading.values[reading.field_at_fault - 1].number;
    if (!p) return;
    const std::int64_t margin = kind.kind == reader::row_kind::station ? 800 : 100;
    const std::int64_t line_end = model_.station_table[model::entry::train_data].end;
    const std::int64_t cells_end = std::int64_t{model_.cell_count} * 50;
    d.text = "the line ends at " + std::to_string(line_end) + " m and the " +
             std::to_string(model::extra_length) +
             " m of run-out that the compile adds after it at " + std::to_string(cells_end) +
             " m (cell " + std::to_string(model_.cell_count) + "): a " + std::string(kind.noun) +
             " may lie at " + std::to_string(cells_end - margin) + " m at most";
  } else if (code == 103 && row_.text != nullptr) {
    const std::string keyword(row_.text->field_at(row_.fields[0], false));
    if (!model::curve_digit_in(keyword)) {
      d.headline = "curve without a radius digit";
      d.text = "'" + keyword +
               "' names no radius: write 'curvad' (to the right) or 'curvas' (to "
               "the left) and one digit: " +
               curve_digit_list();
    } else {
      d.headline = "the track plan runs past metre 1000000";
      d.text = "this curve ends beyond the longest plan";
    }
  }
}

std::string diagnostics_collector::holder(std::int64_t cell, const std::string& file) const {
  if (cell < 0 || cell >= static_cast<std::int64_t>(model_.track_cells.size())) {
    return "outside the track cells";
  }
  const model::track_cell& c = model_.track_cells[static_cast<std::size_t>(cell)];
  const auto entry_name = [&](std::int32_t entry) -> std::string {
    if (entry < 0 || entry >= model::station_count) return "?";
    return model_.station_table[static_cast<std::size_t>(entry)].name;
  };
  const model::cell_kind_words* words = model::words_of_cell_kind(c.kind);
  if (words != nullptr && words->holder.empty()) return "free";
  std::string what = words != nullptr ? model::holder_text(*words, entry_name(c.value), c.value)
                                      : "an object of kind " + std::to_string(c.kind);
  const auto row = cell_rows_.find(cell);
  if (row != cell_rows_.end() && row->second.text != nullptr) {
    const source_text& text = *row->second.text;
    const std::string line = std::to_string(text.position(row->second.fields[0]).line);
    const std::string where =
        text.name() == file
            ? "line " + line
            : std::filesystem::path(text.name()).filename().string() + " line " + line;
    what +=
        row->second.by_walk ? ", placed by the walk for the row of " + where : " (" + where + ")";
  }
  return what;
}

std::string diagnostics_collector::cells_held(const std::vector<std::int64_t>& cells,
                                              const std::string& file) const {
  std::string words;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i != 0) words += i + 1 == cells.size() ? " and " : ", ";
    words += "cell " + std::to_string(cells[i]) + " (" + std::to_string(cells[i] * 50) +
             " m) holds " + holder(cells[i], file);
  }
  return words;
}

std::string diagnostics_collector::taken_cell_words() const {
  const std::optional<std::int64_t> taken = row_.reading.taken_cell;
  if (row_.text == nullptr || !taken) return "";
  return "its cell, " + std::to_string(*taken) + " (" + std::to_string(*taken * 50) +
         " m), holds " + holder(*taken, row_.text->name());
}

std::string diagnostics_collector::walk_error_words(std::int32_t code, std::int64_t at,
                                                    std::int64_t origin, const std::string& file) {
  const auto kind_at = [&](std::int64_t c) -> int {
    if (c < 0 || c >= static_cast<std::int64_t>(model_.track_cells.size())) return -1;
    return model_.track_cells[static_cast<std::size_t>(c)].kind;
  };
  switch (code) {
    case 11:
      return "the two cells before the signal: " + cells_held({at - 1, at - 2}, file);
    case 12: {
      // Windows are tried in order, and each that fails records 12: the n-th
      // error of a start is the n-th window whose cells are all taken and
      // hold no point placed for this start.
      static constexpr std::int64_t guards[] = {7, 13, 20};
      static constexpr std::int64_t nearest[] = {5, 11, 18};
      const int n = window_errors_[origin]++;
      int full = 0;
      for (int w = 0; w < 3; ++w) {
        if (origin <= guards[w]) continue;
        bool taken = true;
        for (std::int64_t k = 0; k < 3; ++k) {
          const std::int64_t c = origin - nearest[w] - k;
          const auto row = cell_rows_.find(c);
          const bool own = row != cell_rows_.end() && row->second.by_walk &&
                           kind_at(c) == model::cell_kind::speed_point &&
                           walk_points_.contains({c, origin});
          if (kind_at(c) == 0 || kind_at(c) == 11 || own) taken = false;
        }
        if (taken && full++ == n) {
          const std::int64_t c = origin - nearest[w];
          return "the window " + std::to_string(nearest[w] * 50) + " to " +
                 std::to_string((nearest[w] + 2) * 50) +
                 " m ahead of the start: " + cells_held({c, c - 1, c - 2}, file);
        }
      }
      return "";
    }
    case 13: {
      if (origin != at) {
        if (at >= model_.cell_count) return "the walk reached the last cell without the end";
        return "the cadence point is due in cell " + std::to_string(at) + ": " +
               cells_held({at, at - 1, at + 1}, file);
      }
      for (std::int64_t m = at; m <= at + 12; ++m) {
        if (kind_at(m) == model::cell_kind::signal) {
          return "the two cells before the signal in cell " + std::to_string(m) + ": " +
                 cells_held({m - 1, m - 2}, file);
        }
      }
      return "";
    }
    default:
      return "";
  }
}

void diagnostics_collector::error_from_reference(int entry) {
  if (out_.empty() || entry < 81 || entry > 83) return;
  const model::station_entry& now = model_.station_table[static_cast<std::size_t>(entry)];
  for (const row_place& row : references_) {
    if (row.text == nullptr) continue;
    const std::vector<model::read_value>& values = row.reading.values;
    if (values.size() < 3) continue;
    const auto c = values[0].number;
    const auto o = values[1].number;
    const auto f = values[2].number;
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
  walk_points_.insert({cell, trigger});
  const auto found = cell_rows_.find(trigger);
  if (found == cell_rows_.end()) return;
  row_place row = found->second;
  row.by_walk = true;
  cell_rows_[cell] = std::move(row);
}

bool diagnostics_collector::row_overran(const std::string& what) {
  if (row_.text == nullptr) return false;
  const source_text& text = *row_.text;
  const std::string keyword(text.field_at(row_.fields[0], false));
  // A row of one entry, cut short by the failure.
  if (row_.reading.entries.size() != 1) return false;
  const reader::row_keyword* kind = &reader::row_keywords[row_.reading.entries.front()];
  const std::size_t row_line = text.position(row_.fields[0]).line;
  const bool at_end = starts_with(what, "a field is missing");
  const std::size_t fault_line = text.position(last_field_).line;
  if (!at_end && fault_line == row_line) return false;
  // Values read from the row's own line: the keyword and the fields before the failing one.
  std::size_t on_line = 0;
  for (std::size_t i = 1; i < row_.fields.size(); ++i) {
    if (text.position(row_.fields[i]).line == row_line && (at_end || row_.fields[i] != last_field_))
      ++on_line;
  }
  failure_placed_ = true;
  failure_offset_ = row_.fields[0];
  failure_headline_ = "row " + std::string("'") + std::string(kind->name) + "' is missing values";
  failure_reason_ = "it reads " + std::to_string(kind->values.size()) +
                    " values, and its line holds " + std::to_string(on_line);
  if (keyword.find(';') != std::string::npos) {
    failure_reason_ +=
        ": its fields are separated by ';', not commas, so the whole line is one field";
  } else if (keyword.find('\t') != std::string::npos) {
    failure_reason_ +=
        ": its fields are separated by tabs, not commas, so the whole line is one field";
  }
  if (at_end) {
    failure_reason_ += "; the text ends before the rest";
    return true;
  }
  failure_reason_ += "; the reader went on to line " + std::to_string(fault_line) + " for the rest";
  diagnostic note = diagnostic_at(text, last_field_, severity::note);
  note.text = "the value read here for the row of line " + std::to_string(row_line) + " is '" +
              std::string(text.field_at(last_field_, true)) + "', " +
              (starts_with(what, "not a number") ? "not a number" : "out of range") +
              "; the reading of this text stops";
  failure_note_ = std::move(note);
  return true;
}

void diagnostics_collector::read_failed(const std::exception& failure) {
  const source_text& text = text_of(which_);
  const std::string what = failure.what();
  const bool in_row = row_.text != nullptr;
  failure_placed_ = in_row || any_field_;
  failure_offset_ = in_row ? row_.fields[0] : last_field_;
  failure_headline_.clear();
  failure_note_.reset();
  const std::string field(text.field_at(last_field_, true));
  if (dynamic_cast<const reader::read_error*>(&failure) != nullptr) {
    if ((starts_with(what, "not a number") || starts_with(what, "number out of range") ||
         starts_with(what, "a field is missing")) &&
        row_overran(what)) {
      return;
    }
    if (starts_with(what, "not a number")) {
      failure_placed_ = any_field_;
      failure_offset_ = last_field_;
      failure_headline_ = "a value is not a number";
      failure_reason_ = "'" + field + "'";
    } else if (starts_with(what, "number out of range")) {
      failure_placed_ = any_field_;
      failure_offset_ = last_field_;
      failure_headline_ = "a value is out of range";
      failure_reason_ = "'" + field +
                        "' is out of range: numbers are whole numbers from "
                        "-2147483648 to 2147483647";
    } else if (starts_with(what, "a field is missing")) {
      failure_reason_ = text.bytes().empty() ? "the text is empty" : "the text ends inside a row";
    } else {
      failure_reason_ = what;
    }
  } else if (dynamic_cast<const std::overflow_error*>(&failure) != nullptr) {
    failure_headline_ = "a value is out of range";
    failure_reason_ = "a value of this row does not fit the field that keeps it";
    // The line speed fill writes the speed of the row before it: a speed
    // whose fifth does not fit a byte is that row's fault.
    if (starts_with(what, "value") && what.find("does not fit a byte") != std::string::npos &&
        last_speed_row_.text != nullptr && last_speed_row_.fields.size() >= 3) {
      const std::string speed(last_speed_row_.text->field_at(last_speed_row_.fields[2], true));
      failure_placed_ = true;
      failure_offset_ = last_speed_row_.fields[2];
      failure_headline_ = "line speed out of range";
      failure_reason_ = speed +
                        " km/h: line speeds are kept in units of 5 km/h in one byte, "
                        "from 0 to 1277 km/h";
      if (last_speed_row_.text != &text) failure_placed_ = false;
    }
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
  name_texts_that_gave_nothing();
  reading_ = false;
  walking_ = true;
}

void diagnostics_collector::name_texts_that_gave_nothing() {
  using model::description_text;
  const auto nothing = [&](const source_text& text, std::optional<std::size_t> offset,
                           std::string words) {
    diagnostic d = offset ? diagnostic_at(text, *offset, severity::error)
                          : diagnostic_for(&text, severity::error);
    d.name = "nothing-read";
    d.text = std::move(words);
    out_.push_back(std::move(d));
  };
  const int line = static_cast<int>(description_text::line);
  const int train = static_cast<int>(description_text::train);
  if (text_seen_[line] && !model_.track_cells.empty() && !header_closed_ &&
      body_rows_in_header_ != 0) {
    nothing(line_, std::nullopt,
            "no section header (such as '[curve]') ends the header: every row after "
            "'[generale]' was taken as a header row, and none of the " +
                std::to_string(body_rows_in_header_) + " body rows was read");
  }
  if (!text_seen_[train] || rows_read_[train] != 0) return;
  // The reader skips everything up to a field holding "[generale]"; when none
  // does, a field within two edits of it is named.
  const std::optional<std::size_t> generale = generale_;
  std::optional<std::size_t> near;
  const std::string& bytes = train_.bytes();
  for (std::size_t at = 0; !generale && at < bytes.size();) {
    const std::size_t end = bytes.find_first_of(",\r\n", at);
    const std::size_t stop = end == std::string::npos ? bytes.size() : end;
    std::string field = bytes.substr(at, stop - at);
    const std::size_t first = field.find_first_not_of(" \t");
    const std::size_t skip = first == std::string::npos ? field.size() : first;
    field.erase(0, skip);
    while (!field.empty() && (field.back() == ' ' || field.back() == '\t')) field.pop_back();
    if (!field.empty() && edit_distance(field, "[generale]") <= 2) {
      near = at + skip;
      break;
    }
    at = stop + 1;
  }
  if (!generale) {
    nothing(train_, near,
            near ? "no field holds '[generale]', and the reader skips everything up to one: "
                   "nothing of this text was read; did you mean '[generale]' here?"
                 : "no field holds '[generale]', and the reader skips everything up to one: "
                   "nothing of this text was read");
  } else {
    nothing(train_, generale,
            "nothing was read from this text: no row after '[generale]' holds a keyword");
  }
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
