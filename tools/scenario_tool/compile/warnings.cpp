#include "scenario_tool/compile/warnings.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <string_view>

#include "model/conversions.h"
#include "model/windows_1252.h"
#include "reader/cell_rules.h"
#include "reader/keyword.h"
#include "reader/row_keywords.h"
#include "scenario_tool/compile/value_ranges.h"
#include "scenario_tool/shared/nearest_word.h"

namespace scenario_tool {
namespace {

using model::description_text;

using reader::row_keyword;
using reader::row_kind;

constexpr description_text line = description_text::line;

}  // namespace

bool is_number(std::string_view field) {
  std::size_t i = (!field.empty() && (field[0] == '+' || field[0] == '-')) ? 1 : 0;
  if (i == field.size()) return false;
  for (; i < field.size(); ++i) {
    if (field[i] < '0' || field[i] > '9') {
      // Numbers may stand several to a field, separated by blanks.
      if (field[i] != ' ' && field[i] != '\t') return false;
    }
  }
  return true;
}

namespace {

std::string quoted(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  out.push_back('\'');
  out.append(text);
  out.push_back('\'');
  return out;
}

// The row fields that hold a chainage which the reader turns into a cell, and
// the reader's rule for that cell.
using reader::landing;
struct cell_chainage {
  std::size_t field;
  landing rule;
};

std::vector<cell_chainage> cell_chainages(row_kind kind) {
  if (kind == row_kind::mountain) return {{1, landing::at}, {2, landing::before}};
  if (kind == row_kind::gradient || kind == row_kind::line_speed || kind == row_kind::adhesion ||
      kind == row_kind::speed_point) {
    return {{1, landing::at}};
  }
  if (kind == row_kind::speed_indicators || kind == row_kind::sign || kind == row_kind::signal ||
      kind == row_kind::slowdown) {
    return {{1, landing::after}};
  }
  return {};
}

const char* fill_name(row_kind kind) {
  if (kind == row_kind::gradient) return "gradient";
  if (kind == row_kind::line_speed) return "line speed";
  if (kind == row_kind::adhesion) return "adhesion";
  return nullptr;
}

// A number field that a blank ended before more digits ("30 000"): the
// whole of what the author wrote, and the digits left for the next field.
struct split_number {
  std::string written;  // "30 000"
  std::string rest;     // "000"
};
std::optional<split_number> blank_in_number(const source_text& text, std::size_t offset) {
  const std::string& b = text.bytes();
  const auto digit = [&](std::size_t i) { return i < b.size() && b[i] >= '0' && b[i] <= '9'; };
  const auto blank = [&](std::size_t i) { return i < b.size() && (b[i] == ' ' || b[i] == '\t'); };
  std::size_t i = offset;
  if (i < b.size() && (b[i] == '+' || b[i] == '-')) ++i;
  if (!digit(i)) return std::nullopt;
  while (digit(i)) ++i;
  std::size_t rest = i;
  while (blank(rest)) ++rest;
  if (rest == i || !digit(rest)) return std::nullopt;
  std::size_t end = rest;
  while (digit(end)) ++end;
  return split_number{b.substr(offset, end - offset), b.substr(rest, end - rest)};
}

// Whether a comma stands between two offsets of a text.
bool comma_between(const source_text& text, std::size_t from, std::size_t to) {
  if (to <= from) return false;
  return text.bytes().find(',', from) < to;
}

}  // namespace

std::string third_comment_words(const read_row& row) {
  if (row.text == nullptr || row.fields.empty() || row.header || row.before.size() < 2) return "";
  const source_text& text = *row.text;
  const auto comment = [&](std::size_t offset) {
    return reader::contains(text.field_at(offset, false), "-") &&
           !is_number(text.field_at(offset, true));
  };
  if (!comment(row.fields[0]) || !comment(row.before[0]) || !comment(row.before[1])) return "";
  const std::size_t line = text.position(row.fields[0]).line;
  const std::size_t first = text.position(row.before[1]).line;
  const std::size_t second = text.position(row.before[0]).line;
  const std::string second_words =
      second == first ? "on the same line" : "on line " + std::to_string(second);
  // The first comment shares its line with the field read before it: a value.
  const bool after_value = row.before.size() >= 3 && text.position(row.before[2]).line == first;
  if (after_value) {
    return "line " + std::to_string(line) + " was read as a row because the comment on line " +
           std::to_string(first) +
           ", after the last value of the row there, counts as the first of the two comment "
           "fields skipped before a keyword (the second is " +
           second_words + "): the third is read as a keyword";
  }
  return "line " + std::to_string(line) +
         " was read as a row: only two comment fields in a row are skipped before a keyword (" +
         (second == first ? "both on line " + std::to_string(first)
                          : "lines " + std::to_string(first) + " and " + std::to_string(second)) +
         "), and the third is read as a keyword";
}

std::string section_header_words(const read_row& row, bool) {
  if (row.text == nullptr || row.fields.empty()) return "";
  const std::string_view keyword = row.text->field_at(row.fields[0], false);
  if (!reader::contains(keyword, "[") || !reader::contains(keyword, "]")) return "";
  if (row.entries.empty()) return "";
  return "this section header holds the keyword " + quoted(row.entries[0]->name) +
         " and is read as that row";
}

std::vector<const row_keyword*> entries_of(const std::vector<std::size_t>& entries) {
  std::vector<const row_keyword*> found;
  for (const std::size_t e : entries) found.push_back(&reader::row_keywords[e]);
  return found;
}

std::string read_as_row_words(const read_row& row, bool plan) {
  const std::string header = section_header_words(row, plan);
  return header.empty() ? third_comment_words(row) : header;
}

void row_warnings::check(const read_row& row, std::vector<diagnostic>& out) {
  if (row.text == nullptr || row.fields.empty()) return;
  const source_text& text = *row.text;
  const std::string keyword(text.field_at(row.fields[0], false));
  const auto warn = [&](const char* name, std::size_t field, std::string words) {
    diagnostic d = diagnostic_at(text, row.fields[field], severity::warning);
    d.text = std::move(words);
    d.name = name;
    out.push_back(std::move(d));
  };
  const std::vector<const row_keyword*>& found = row.entries;

  // What ended the field before this keyword at a comma on the same line: a
  // sign's lettering or a station's name (a text value runs to the comma),
  // or a comment (a field holding '-' runs to the comma too).
  std::string cut_at_comma;
  const std::size_t keyword_line = text.position(row.fields[0]).line;
  if (!row.before.empty() && text.position(row.before[0]).line == keyword_line &&
      comma_between(text, row.before[0], row.fields[0])) {
    const std::string before(text.field_at(row.before[0], false));
    if (text_value_text_ == &text && text_value_at_ == row.before[0]) {
      cut_at_comma = std::string(text_value_noun_) + " cannot hold a comma: it ends at " +
                     quoted(before) + ", and " + quoted(keyword) + " after the comma";
    } else if (reader::contains(before, "-") && !is_number(text.field_at(row.before[0], true))) {
      cut_at_comma = "a comment ends at a comma: " + quoted(before) + " is the comment, and " +
                     quoted(keyword) + " after the comma";
    }
  }
  text_value_text_ = nullptr;
  if (row.fields.size() == 1 && !cut_at_comma.empty() && found.empty() && !keyword.empty()) {
    skipped_text_ = &text;
    skipped_line_ = keyword_line;
    const bool number = is_number(keyword);
    warn(number ? "stray-number" : "unknown-keyword", 0,
         cut_at_comma + " is read as a keyword, matches none and is skipped");
    return;
  }

  if (row.fields.size() == 1) {
    // A keyword field after which the reader read nothing: it matched no keyword.
    if (!found.empty()) return;  // the text ended inside the row
    if (keyword.empty() || (reader::contains(keyword, "[") && reader::contains(keyword, "]"))) {
      return;  // blank lines and section headers
    }
    const std::size_t this_line = text.position(row.fields[0]).line;
    const bool after_skipped = skipped_text_ == &text && skipped_line_ == this_line;
    skipped_text_ = &text;
    skipped_line_ = this_line;
    if (is_number(keyword)) {
      // The values of a skipped row, or of a curve row when no plan is made.
      if (after_skipped || !plan_) return;
      warn("stray-number", 0,
           "a number stands where a keyword is expected: the row before has more fields than "
           "its keyword reads, and this field is skipped");
      return;
    }
    if (!plan_ && names_a_curve(keyword)) return;
    if (row.which == line && row.header && names_a_body_row(keyword)) {
      warn("body-row-in-header", 0,
           "row " + quoted(keyword) +
               " stands in the header, where it is skipped: body rows are read only after the "
               "first section header");
      return;
    }
    if (reader::contains(keyword, "-")) {
      const std::string why = third_comment_words(row);
      warn("extra-comment-field", 0,
           "more comment fields (holding '-') in a row than are skipped: this one is read as a "
           "keyword, matches none and is skipped" +
               (why.empty() ? std::string() : "; " + why));
      return;
    }
    // A keyword with the wrong letter case where case counts, or within two
    // edits of one, is a slip of the pen: the author meant the row.
    if (const reader::row_keyword* r = case_slip_of(keyword, row.which, row.header)) {
      warn("keyword-typo", 0,
           "keyword " + quoted(keyword) + " differs from " + quoted(r->name) +
               " only in letter case, and case counts in this keyword: the row is skipped; "
               "write it in lower case");
      return;
    }
    const std::string near = nearest_keyword(keyword, row.which, row.header);
    if (!near.empty()) {
      warn("keyword-typo", 0,
           "keyword " + quoted(keyword) +
               " matches no keyword, and the row is skipped; did you "
               "mean " +
               quoted(near) + "?");
      return;
    }
    warn("unknown-keyword", 0,
         "keyword " + quoted(keyword) + " matches no keyword: the row is skipped");
    return;
  }
  // A section header is a field like any other: one holding a keyword string
  // is read as that row, its values taken from the fields after it.
  // (A row that the reading stopped in says so at its error.)
  if (!found.empty() && row.complete) {
    if (const std::string why = section_header_words(row, plan_); !why.empty()) {
      warn("section-header-row", 0,
           why + ", taking the " + std::to_string(found[0]->values.size()) +
               (found[0]->values.size() == 1 ? " field" : " fields") +
               " after it as its values; keep keyword strings out of section headers");
    }
  }
  // A third comment field that holds a keyword string is read as that row.
  if (!found.empty() && row.complete) {
    if (const std::string why = third_comment_words(row); !why.empty()) {
      warn("extra-comment-field", 0,
           "more comment fields (holding '-') in a row than are skipped: this one holds the "
           "keyword " +
               quoted(found[0]->name) + " and is read as that row; " + why);
    }
  }
  // Marks that comment lines carry elsewhere mean nothing here: the row is read.
  if (!found.empty()) {
    const std::string_view k = keyword;
    const bool comment_like = k.rfind("#", 0) == 0 || k.rfind(";", 0) == 0 ||
                              k.rfind("//", 0) == 0 || k.rfind("'", 0) == 0 || k.rfind("*", 0) == 0;
    if (comment_like) {
      warn("comment-like-row", 0,
           "this row looks like a comment, but only fields holding '-' are skipped: it is read "
           "as a " +
               quoted(found[0]->name) + " row");
    }
  }
  if (found.size() >= 2) {
    std::string names;
    for (std::size_t i = 0; i < found.size(); ++i) {
      names += (i == 0 ? "" : i + 1 == found.size() ? " and " : ", ") + quoted(found[i]->name);
    }
    warn("ambiguous-keyword", 0,
         "keyword " + quoted(keyword) + " matches " + names +
             ": each of those rows is applied, one after the other, each reading its own values");
    return;
  }
  if (found.size() != 1 || row.fields.size() < found[0]->values.size() + 1) return;
  const row_keyword& r = *found[0];

  // A blank ends a number: the digits after it are the next field. The clock
  // row alone means it ("11 29 30").
  for (std::size_t f = 1; r.kind != row_kind::clock && f <= r.values.size(); ++f) {
    if (r.values[f - 1].text) continue;
    if (const auto split = blank_in_number(text, row.fields[f])) {
      warn("blank-in-number", f,
           "a blank ends a number: " + quoted(split->written) + " was read as " +
               std::string(text.field_at(row.fields[f], true)) + ", and " + quoted(split->rest) +
               " as the next field; write the number without blanks");
      break;
    }
  }

  // The values a row reads may stand on the lines after it; an author means
  // one row per line, so the row before lacks values or the next ones shifted.
  const std::size_t row_line = text.position(row.fields[0]).line;
  for (std::size_t f = 1; row.complete && f < row.fields.size(); ++f) {
    const std::size_t here = text.position(row.fields[f]).line;
    if (here == row_line) continue;
    warn("row-spans-lines", f,
         "row " + quoted(r.name) + " reads " + std::to_string(r.values.size()) +
             " values, and its line holds " + std::to_string(f - 1) +
             ": the rest are taken from line " + std::to_string(here) + " on");
    break;
  }

  std::vector<std::int64_t> v(row.fields.size(), 0);
  for (std::size_t f = 1; f < row.fields.size(); ++f) {
    if (f <= r.values.size() && r.values[f - 1].text) continue;  // a sign text, a station name
    if (f > row.values.size() || !row.values[f - 1].number) return;
    v[f] = *row.values[f - 1].number;
  }

  for (const cell_chainage& c : cell_chainages(r.kind)) {
    const std::int64_t metres = v[c.field];
    if (metres % 50 == 0) continue;
    // The cell the reader put the chainage in.
    const std::optional<std::int64_t> landed = row.values[c.field - 1].cell;
    if (!landed) continue;
    const std::int64_t cell = *landed;
    const std::int64_t same = reader::chainage_landing_in(c.rule, cell);
    warn("chainage-rounded", c.field,
         "chainage " + std::to_string(metres) + " m is not a multiple of 50: the row " +
             (c.rule == landing::before ? "ends with cell " : "lands in cell ") +
             std::to_string(cell) + ", as a row at " + std::to_string(same) + " m does");
    out.back().mend = std::to_string(same);
  }
  if (r.kind == row_kind::slowdown && v[1] % 50 == 0 && (v[1] + v[3]) % 50 != 0) {
    const std::int64_t end = reader::cell_by(landing::after, static_cast<double>(v[1] + v[3]));
    warn("chainage-rounded", 3,
         "slowdown length " + std::to_string(v[3]) +
             " m is not a multiple of 50: its end lands in "
             "cell " +
             std::to_string(end) + ", as with a length of " +
             std::to_string(reader::chainage_landing_in(landing::after, end) - v[1]) + " m");
    out.back().mend = std::to_string(reader::chainage_landing_in(landing::after, end) - v[1]);
  }

  // Rows past the end of the line that the reader still takes: they land in
  // the cells that extend the line, where no author means to put an object.
  if (row.line_length >= 0 && (!cell_chainages(r.kind).empty() || r.kind == row_kind::station ||
                               r.kind == row_kind::curve)) {
    const std::int64_t p = v[1];
    const std::int64_t margin = r.kind == row_kind::station ? 800 : 100;
    const bool taken = static_cast<double>(p + margin) / 50.0 <= static_cast<double>(row.last_cell);
    if (p > row.line_length && taken) {
      const bool object = r.kind != row_kind::gradient && r.kind != row_kind::line_speed &&
                          r.kind != row_kind::adhesion && r.kind != row_kind::mountain &&
                          r.kind != row_kind::curve;
      warn(object ? "beyond-line-end" : "fill-beyond-line-end", 1,
           std::string(r.noun) + " at " + std::to_string(p) +
               " m lies beyond the end of the line, at " + std::to_string(row.line_length) +
               " m: " +
               (object ? "the compile puts it into the cells that extend the line past its end"
                       : "it only changes the cells that extend the line past its end"));
    }
  }

  for (value_fault& fault : value_faults(r, v)) {
    warn(fault.name, fault.field, std::move(fault.words));
  }

  if (const char* fill = fill_name(r.kind)) {
    // The reader's fill: a row at cell m > 0 writes the value before it into
    // the cells from the next unwritten one up to m − 1, and into one cell
    // at least; then its own value holds from where the fill has reached.
    const std::string key(r.name);
    fill_state& state = fills_[key];
    const std::int64_t m = row.values[0].cell.value_or(0);  // the cell the reader put the row in
    const std::int64_t from = state.next_cell;
    if (m > 0) state.next_cell = std::max(from + 1, m);
    const auto last = last_chainage_.find(key);
    if (last != last_chainage_.end() && v[1] < last->second) {
      // The table's units are UTF-8 ("‰"); a diagnostic's words are Windows-1252.
      const std::string unit = model::windows_1252_from_utf8(r.values[1].unit).value_or("");
      const std::string earlier = std::to_string(state.value) + (unit.empty() ? "" : " " + unit) +
                                  " of line " + std::to_string(state.line);
      const std::int64_t own = state.next_cell;
      std::string words = std::string(fill) + " row at " + std::to_string(v[1]) +
                          " m comes after one at " + std::to_string(last->second) +
                          " m: the fill follows the rows' order and has already reached cell " +
                          std::to_string(from) + " (" + std::to_string(from * 50) + " m), so ";
      if (m > 0) {
        words += "the " + earlier + " holds in that cell only, and ";
      } else {
        words += "the " + earlier + " holds in no cell, and ";
      }
      words += "this row's " + std::to_string(v[2]) + (unit.empty() ? "" : " " + unit) +
               " holds from cell " + std::to_string(own) + " (" + std::to_string(own * 50) +
               " m), not from " + std::to_string(v[1]) +
               " m, up to the next row's chainage or the end of the line";
      warn("fill-out-of-order", 1, std::move(words));
    }
    state.value = v[2];
    state.line = keyword_line;
    last_chainage_[key] = v[1];
  }
  if (r.kind == row_kind::curve) {
    const auto last = last_chainage_.find("curva");
    if (last != last_chainage_.end() && v[1] < last->second) {
      warn("curve-overlap", 1,
           "curve at " + std::to_string(v[1]) + " m begins before the previous curve ends (" +
               std::to_string(last->second) +
               " m): the plan goes on from where it is, so this curve begins there");
    }
    last_chainage_["curva"] =
        std::max(v[1] + v[2], last == last_chainage_.end() ? v[1] + v[2] : last->second);
  }
  if (r.values.back().text && (r.kind == row_kind::sign || r.kind == row_kind::station)) {
    text_value_text_ = &text;
    text_value_at_ = row.fields[r.values.size()];
    text_value_noun_ = r.kind == row_kind::sign ? "a sign's lettering" : "a station's name";
  }
}

std::vector<diagnostic> encoding_warnings(const source_text& text) {
  std::vector<diagnostic> out;
  const std::string& b = text.bytes();
  const auto warn = [&](const char* name, std::size_t offset, std::string words) {
    diagnostic d = diagnostic_at(text, offset, severity::warning);
    d.text = std::move(words);
    d.name = name;
    out.push_back(std::move(d));
  };

  if (b.rfind("\xEF\xBB\xBF", 0) == 0) {
    warn("encoding", 0,
         "the text begins with a UTF-8 byte order mark: its three bytes are read as "
         "Windows-1252 characters of the first field (an editor may have added it)");
  }

  // UTF-8: every byte above 127 belongs to a well-formed UTF-8 sequence.
  std::optional<std::size_t> first_high;
  bool all_utf8 = true;
  for (std::size_t i = 0; i < b.size();) {
    const auto c = static_cast<unsigned char>(b[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    if (!first_high) first_high = i;
    const std::size_t length = c >= 0xC2 && c <= 0xDF   ? 2
                               : c >= 0xE0 && c <= 0xEF ? 3
                               : c >= 0xF0 && c <= 0xF4 ? 4
                                                        : 0;
    bool ok = length != 0 && i + length <= b.size();
    for (std::size_t k = 1; ok && k < length; ++k) {
      ok = (static_cast<unsigned char>(b[i + k]) & 0xC0) == 0x80;
    }
    if (!ok) {
      all_utf8 = false;
      break;
    }
    i += length;
  }
  const std::size_t bom = b.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
  const bool looks_utf8 = first_high && all_utf8 && b.size() > bom &&
                          std::any_of(b.begin() + static_cast<std::ptrdiff_t>(bom), b.end(),
                                      [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
  if (looks_utf8) {
    std::size_t at = bom;
    while (static_cast<unsigned char>(b[at]) < 0x80) ++at;
    warn("encoding", at,
         "the text looks like UTF-8 (an editor may have converted it): it is read as "
         "Windows-1252, each accented letter as two or more characters");
  }

  for (std::size_t i = 0; i < b.size(); ++i) {
    const auto c = static_cast<unsigned char>(b[i]);
    const bool undefined =
        !looks_utf8 && (c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D);
    const bool control = (c < 0x20 && c != '\t' && c != '\r' && c != '\n') || c == 0x7F;
    if (undefined || control) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "0x%02X", c);
      warn("encoding", i,
           std::string("byte ") + hex + " is " +
               (undefined ? "not a Windows-1252 character" : "a control character") +
               ": it is read as part of its field");
      break;
    }
  }

  for (std::size_t i = 0; i < b.size(); ++i) {
    if (b[i] == '\n' && (i == 0 || b[i - 1] != '\r')) {
      warn("line-ends", i,
           "this line ends with LF alone, not CR LF (an editor may have changed it): it is "
           "read as a line end all the same");
      break;
    }
  }
  for (std::size_t i = 0; i < b.size(); ++i) {
    if (b[i] == '\r' && (i + 1 == b.size() || b[i + 1] != '\n')) {
      warn("line-ends", i,
           "this line ends with CR alone, not CR LF: it is read as a line end all the same");
      break;
    }
  }
  return out;
}

}  // namespace scenario_tool
