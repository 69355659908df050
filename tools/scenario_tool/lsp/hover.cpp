#include "scenario_tool/lsp/hover.h"

#include <algorithm>
#include <set>

#include "model/conversions.h"
#include "model/record_words.h"
#include "reader/keyword.h"
#include "scenario_tool/compile/warnings.h"
#include "scenario_tool/lsp/row_facts.h"
#include "scenario_tool/shared/cell_meaning.h"
#include "scenario_tool/shared/windows_1252.h"

namespace scenario_tool::lsp {
namespace {

using model::description_text;

// What a cell of the kind holds, told in full.
std::string kind_description(std::uint8_t kind) {
  const model::cell_kind_words* words = model::words_of_cell_kind(kind);
  return words != nullptr ? std::string(words->description) : std::string("unknown kind");
}

std::string cell_name(std::int64_t cell) {
  return "cell " + std::to_string(cell) + " (" + std::to_string(cell * 50) + " m)";
}

// What a cell holds, in the terms of its kind.
std::string cell_content(const model::track_cell& c) {
  std::string out = kind_description(c.kind) + " (kind " + std::to_string(c.kind) + ")";
  const auto add = [&](const char* name, int value) {
    out += std::string(", ") + name + " " + std::to_string(value);
  };
  switch (c.kind) {
    case model::cell_kind::signal:
      add("value", c.value);
      add("value2", c.value2);
      add("value3", c.value3);
      add("value4", c.value4);
      add("signal time", c.signal_time);
      break;
    case model::cell_kind::slowdown_end:
    case model::cell_kind::slowdown_start:
    case model::cell_kind::slowdown_warning:
      out += ", speed " + std::to_string(c.value) + " km/h";
      if (c.value2 != 0) {
        out += ", " + std::string(reader::row_values::slowdown[5].name) + " " +
               std::to_string(c.value2) + " km/h";
      }
      if (c.kind != model::cell_kind::slowdown_warning) {
        add(std::string(reader::row_values::slowdown[3].name).c_str(), c.value3);
      }
      break;
    case model::cell_kind::slowdown_marker:
      add("rank", c.value);
      break;
    case model::cell_kind::speed_indicator:
      add("value", c.value);
      add("value2", c.value2);
      add("value3", c.value3);
      add("stripes", c.value4);
      break;
    case model::cell_kind::stop_point:
      add("station entry", c.value);
      break;
    case model::cell_kind::speed_point:
      out += ", " + std::to_string(c.value) + " km/h";
      break;
    case model::cell_kind::sign:
      add("sign entry", c.value);
      break;
    default:
      break;
  }
  if (c.approach != 0) add("approach code", c.approach);
  // The packed numbers in the row's terms, as dump and diff read them.
  if (const std::string meaning = cell_meaning(c); !meaning.empty()) out += ": " + meaning;
  return out;
}

// One value of a row, as the reader read it (`read` null: a value it never reached).
std::string value_line(const analysis& a, const source_text& text, std::size_t offset,
                       const model::read_value* read, const reader::row_value& meaning,
                       bool chainage) {
  std::string out = "- " + std::string(meaning.name) + ": ";
  if (meaning.text) return out + "\"" + field_text(text, offset, false) + "\"";
  if (read == nullptr || !read->number) {
    return out + "`" + field_text(text, offset, true) + "` (not a number)";
  }
  const std::int64_t n = *read->number;
  if (chainage) return out + chainage_words(a, n);
  out += std::to_string(n);
  if (!meaning.unit.empty()) {
    out += ' ';
    out += meaning.unit;
  }
  return out;
}

// The cells of the row's object, and the speed points that lie about them.
void describe_cells(const analysis& a, const read_row& row, std::string& out) {
  if (a.compiled.model == nullptr) return;
  const model::scenario_model& m = *a.compiled.model;
  const auto valid = [&](std::int64_t c) {
    return c >= 0 && c < static_cast<std::int64_t>(m.track_cells.size());
  };
  std::vector<std::int64_t> cells = row.cells;
  std::sort(cells.begin(), cells.end());
  cells.erase(std::unique(cells.begin(), cells.end()), cells.end());
  if (cells.empty()) return;

  out += "\n**In the compiled cells**\n";
  std::set<std::int64_t> by_walk;
  for (const std::int64_t c : cells) {
    if (!valid(c)) continue;
    out += "- " + cell_name(c) + ": " + cell_content(m.track_cells[static_cast<std::size_t>(c)]) +
           "\n";
    for (const std::int64_t w : a.rows.walk_cells(c)) by_walk.insert(w);
    const model::track_cell& cell = m.track_cells[static_cast<std::size_t>(c)];
    if (cell.kind == model::cell_kind::stop_point && cell.value > 0 &&
        cell.value < static_cast<int>(m.station_table.size())) {
      const model::station_entry& e = m.station_table[static_cast<std::size_t>(cell.value)];
      out += "- station entry " + std::to_string(cell.value) + ": platform from " +
             std::to_string(e.start) + " m to " + std::to_string(e.end) + " m, time " +
             std::to_string(e.time / 3600) + ":" + (e.time / 60 % 60 < 10 ? "0" : "") +
             std::to_string(e.time / 60 % 60) + ":" + (e.time % 60 < 10 ? "0" : "") +
             std::to_string(e.time % 60) + "\n";
    }
  }
  // Approach codes that a signal or a station put before its cell.
  std::vector<std::string> approaches;
  const std::int64_t first = cells.front();
  for (std::int64_t c = std::max<std::int64_t>(0, first - 8); c < first; ++c) {
    if (valid(c) && m.track_cells[static_cast<std::size_t>(c)].approach != 0) {
      const std::uint8_t code = m.track_cells[static_cast<std::size_t>(c)].approach;
      approaches.push_back(std::to_string(code) + " in cell " + std::to_string(c) + " (" +
                           field_meaning(0, "approach", code) + ")");
    }
  }
  if (!approaches.empty()) {
    out += "- approach codes before it:";
    for (std::size_t i = 0; i < approaches.size(); ++i) {
      out += i ? ", " : " ";
      out += approaches[i];
    }
    out += "\n";
  }

  // Speed points from 20 cells (1000 m) before the object to 20 cells after it.
  std::vector<std::string> points;
  for (std::int64_t c = std::max<std::int64_t>(0, first - 20); c <= cells.back() + 20; ++c) {
    if (!valid(c)) break;
    const model::track_cell& cell = m.track_cells[static_cast<std::size_t>(c)];
    if (cell.kind != model::cell_kind::speed_point &&
        cell.kind != model::cell_kind::speed_point_without_speed) {
      continue;
    }
    std::string p =
        "- " + cell_name(c) + ": " +
        (cell.kind == model::cell_kind::speed_point ? std::to_string(cell.value) + " km/h"
                                                    : "no speed");
    if (by_walk.count(c) != 0) p += ", placed by the walk for this row";
    points.push_back(p);
  }
  if (!points.empty()) {
    out += "\n**Speed points nearby** (1000 m each side)\n";
    for (const std::string& p : points) out += p + "\n";
  }
}

std::string unknown_keyword(const analysis& a, const read_row& row) {
  const source_text& text = text_of(a, row.which);
  const std::string keyword(text.field_at(row.fields.front(), false));
  const std::string shown = utf8_from_windows_1252(keyword);
  if (reader::contains(keyword, "[") && reader::contains(keyword, "]")) {
    return "Section header **" + shown + "**: the reader gives it no meaning" +
           (row.header ? "; it ends the line text's header" : "") + ".";
  }
  std::string out = "`" + shown + "` matches no keyword: the reader skips it.";
  const std::string near = nearest_keyword(keyword, row.which, row.header);
  if (!near.empty()) out += "\n\nNearest keyword: **" + near + "**";
  return out;
}

}  // namespace

std::optional<hover_text> hover_at(const analysis& a, description_text which, std::size_t offset) {
  const read_row* row = row_at(a, which, offset);
  if (row == nullptr) return std::nullopt;
  const source_text& text = text_of(a, which);
  hover_text result;
  result.from = row->fields.front();
  result.to = row_end(text, *row);

  const std::vector<keyword_rule> found = row_keywords(a, *row);
  if (found.empty()) {
    result.markdown = unknown_keyword(a, *row);
    return result;
  }

  const std::string keyword = field_text(text, row->fields.front(), false);
  std::string& out = result.markdown;
  std::size_t field = 1;
  for (const keyword_rule& rule : found) {
    if (!out.empty()) out += "\n\n";
    out += "**" + std::string(rule.name) + "**: " + std::string(rule.entry->noun);
    out += " (" + std::string(rule.which == description_text::line ? "line" : "train") + " text" +
           (rule.header ? ", header" : "") + "), read from `" + keyword + "`; " +
           std::to_string(rule.values) + (rule.values == 1 ? " value" : " values") + "\n";
    for (std::size_t v = 0; v < rule.values; ++v, ++field) {
      if (field >= row->fields.size()) {
        out += "- the text ends before value " + std::to_string(v + 1) + "\n";
        break;
      }
      const reader::row_value& value = rule.entry->values[v];
      const model::read_value* read =
          field <= row->values.size() ? &row->values[field - 1] : nullptr;
      out += value_line(a, text, row->fields[field], read, value, value.chainage) + "\n";
    }
  }
  if (found.size() > 1) {
    out += "\nThe keyword passes " + std::to_string(found.size()) +
           " tests: each row is applied, one after the other.\n";
  }

  if (const std::optional<std::int64_t> p = row_chainage(a, *row)) {
    out += "\n**Chainage** " + chainage_words(a, *p);
    std::vector<std::int64_t> cells = row->cells;
    std::sort(cells.begin(), cells.end());
    cells.erase(std::unique(cells.begin(), cells.end()), cells.end());
    if (cells.size() == 1) {
      out += ", lands in cell " + std::to_string(cells.front());
    } else if (!cells.empty()) {
      out += ", lands in cells";
      for (std::size_t i = 0; i < cells.size(); ++i) {
        out += i ? ", " : " ";
        out += std::to_string(cells[i]);
      }
    } else if (const std::optional<std::int64_t> cell = row->values.front().cell) {
      // A row that filled no cell: the cell its chainage stands in, as the reader took it.
      out += ", cell " + std::to_string(*cell);
    }
    out += "\n";
    describe_cells(a, *row, out);
  }
  return result;
}

}  // namespace scenario_tool::lsp
