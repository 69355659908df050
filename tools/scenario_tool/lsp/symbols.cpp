#include "scenario_tool/lsp/symbols.h"

#include <algorithm>

#include "scenario_tool/lsp/row_facts.h"
#include "scenario_tool/shared/windows_1252.h"

namespace scenario_tool::lsp {
namespace {

using json = nlohmann::json;

// Symbol kinds of the protocol.
constexpr int kind_namespace = 3;
constexpr int kind_class = 5;
constexpr int kind_constant = 14;
constexpr int kind_string = 15;
constexpr int kind_event = 24;
constexpr int kind_operator = 25;

json range_of(const text_document& d, std::size_t from, std::size_t to) {
  const text_point a = d.point(from);
  const text_point b = d.point(to);
  return {{"start", {{"line", a.line}, {"character", a.character}}},
          {"end", {{"line", b.line}, {"character", b.character}}}};
}

struct entry {
  std::int64_t chainage;
  std::size_t order;
  json symbol;
};

struct section {
  std::size_t from = 0;
  std::size_t to = 0;
  std::string name;
  std::vector<entry> rows;
};

}  // namespace

json document_symbols(const analysis& a, model::description_text which,
                      const text_document& document) {
  const source_text& text = text_of(a, which);
  // Sections: lines whose first field is a bracketed name.
  std::vector<section> sections;
  section before;  // rows above the first section
  for (std::size_t l = 0; l < document.line_count(); ++l) {
    const std::string_view line = document.line(l);
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos || line[first] != '[') continue;
    const std::size_t close = line.find(']', first);
    if (close == std::string_view::npos) continue;
    const std::size_t start = document.offset({l, 0});
    if (!sections.empty()) sections.back().to = start;
    sections.push_back({start,
                        document.bytes().size(),
                        utf8_from_windows_1252(line.substr(first, close - first + 1)),
                        {}});
  }

  std::size_t order = 0;
  for (const read_row& row : a.rows.rows(which)) {
    const std::vector<keyword_rule> found = row_keywords(a, row);
    if (found.size() != 1) continue;
    const reader::row_kind row_kind = found.front().entry->kind;
    // The second value as the reader read it (a slowdown's or a speed point's speed).
    const std::vector<model::read_value>& values = row.values;
    const auto speed_words = [&]() -> std::string {
      if (values.size() < 2 || !values[1].number) return "";
      std::string words = " ";
      words += std::to_string(*values[1].number);
      words += " km/h";
      return words;
    };
    int kind = 0;
    std::string label;
    if (row_kind == reader::row_kind::station) {
      kind = kind_class;
      label = row.fields.size() > 17 ? field_text(text, row.fields[17], false) : "station";
      if (label.empty()) label = "station";
    } else if (row_kind == reader::row_kind::signal) {
      kind = kind_event;
      label = "signal";
    } else if (row_kind == reader::row_kind::slowdown) {
      kind = kind_operator;
      label = "slowdown";
      label += speed_words();
    } else if (row_kind == reader::row_kind::sign) {
      kind = kind_string;
      label = row.fields.size() > 2 ? "sign " + field_text(text, row.fields[2], false) : "sign";
    } else if (row_kind == reader::row_kind::speed_indicators) {
      kind = kind_constant;
      label = "speed indicator";
    } else if (row_kind == reader::row_kind::speed_point) {
      kind = kind_constant;
      label = "speed point";
      label += speed_words();
    } else {
      continue;
    }
    const std::optional<std::int64_t> p = row_chainage(a, row);
    // Rows of one kind tell themselves apart by where they stand; a station by its name.
    if (kind != kind_class && p) label += " " + post_kilometres(a, *p);
    const std::size_t from = row.fields.front();
    const std::size_t to = std::max(from, row_end(text, row));
    json symbol = {{"name", label},
                   {"detail", p ? chainage_words(a, *p) : std::string()},
                   {"kind", kind},
                   {"range", range_of(document, from, to)},
                   {"selectionRange", range_of(document, from, to)}};
    section* home = &before;
    for (section& s : sections) {
      if (from >= s.from && from < s.to) home = &s;
    }
    home->rows.push_back({p.value_or(0), order++, std::move(symbol)});
  }

  const auto sorted = [](std::vector<entry>& rows) {
    std::stable_sort(rows.begin(), rows.end(),
                     [](const entry& x, const entry& y) { return x.chainage < y.chainage; });
    json out = json::array();
    for (entry& e : rows) out.push_back(std::move(e.symbol));
    return out;
  };
  json out = sorted(before.rows);
  for (section& s : sections) {
    std::size_t to = s.to;
    // The section's range ends with its last line's text, not the next line's start.
    while (to > s.from && (document.bytes()[to - 1] == '\n' || document.bytes()[to - 1] == '\r'))
      --to;
    const std::size_t header_end = s.from + document.line(document.point(s.from).line).size();
    out.push_back({{"name", s.name},
                   {"kind", kind_namespace},
                   {"range", range_of(document, s.from, std::max(to, header_end))},
                   {"selectionRange", range_of(document, s.from, header_end)},
                   {"children", sorted(s.rows)}});
  }
  return out;
}

}  // namespace scenario_tool::lsp
