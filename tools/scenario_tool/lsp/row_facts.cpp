#include "scenario_tool/lsp/row_facts.h"

#include <algorithm>
#include <string>

#include "model/kilometre_posts.h"
#include "scenario_tool/shared/windows_1252.h"

namespace scenario_tool::lsp {

const source_text& text_of(const analysis& a, model::description_text which) {
  return which == model::description_text::line ? a.line : a.train;
}

std::vector<keyword_rule> row_keywords(const analysis&, const read_row& row) {
  std::vector<keyword_rule> rules;
  for (const reader::row_keyword* entry : entries_of(row.entries)) rules.push_back(rule_of(*entry));
  return rules;
}

std::size_t row_end(const source_text& text, const read_row& row) {
  const std::size_t last = row.fields.back();
  return last + text.field_at(last, false).size();
}

const read_row* row_at(const analysis& a, model::description_text which, std::size_t offset) {
  const source_text& text = text_of(a, which);
  const std::vector<read_row>& rows = a.rows.rows(which);
  // Rows are in reading order, so their keywords' offsets grow.
  auto it = std::upper_bound(rows.begin(), rows.end(), offset,
                             [](std::size_t o, const read_row& r) { return o < r.fields.front(); });
  if (it != rows.begin()) {
    const read_row& before = *(it - 1);
    if (offset <= row_end(text, before)) return &before;
  }
  const std::size_t line = text.position(offset).line;
  for (auto near = it; near != rows.end(); ++near) {
    if (text.position(near->fields.front()).line != line) break;
    return &*near;
  }
  return nullptr;
}

std::string post_kilometres(const analysis& a, std::int64_t metres) {
  if (a.compiled.model == nullptr) return std::to_string(metres) + " m";
  return model::post_words(model::post_metres(a.compiled.model->station_table, metres));
}

std::string chainage_words(const analysis& a, std::int64_t metres) {
  std::string words = std::to_string(metres) + " m";
  if (a.compiled.model != nullptr) {
    words += ", " + post_kilometres(a, metres) + " on the kilometre posts";
  }
  return words;
}

bool starts_with_chainage(const reader::row_keyword& entry) {
  return entry.section != reader::row_section::line_header && !entry.values.empty() &&
         entry.values.front().unit == "m";
}

std::optional<std::int64_t> row_chainage(const analysis& a, const read_row& row) {
  if (row.fields.size() < 2 || row.values.empty()) return std::nullopt;
  const std::vector<keyword_rule> found = row_keywords(a, row);
  if (found.size() != 1) return std::nullopt;
  if (!starts_with_chainage(*found.front().entry)) return std::nullopt;
  const std::optional<std::int32_t> p = row.values.front().number;
  if (!p) return std::nullopt;
  return std::optional<std::int64_t>(*p);
}

std::string field_text(const source_text& text, std::size_t offset, bool number) {
  return utf8_from_windows_1252(text.field_at(offset, number));
}

}  // namespace scenario_tool::lsp
