#include "scenario_tool/compile/keyword_guess.h"

#include <algorithm>
#include <utility>

#include "reader/keyword.h"
#include "scenario_tool/shared/nearest_word.h"

namespace scenario_tool {
namespace {

using model::description_text;
using reader::row_keyword;
using reader::row_kind;

// The reader's section of a row: the train text has no header.
reader::row_section section_of(description_text which, bool header) {
  if (which == description_text::train) return reader::row_section::train_body;
  return header ? reader::row_section::line_header : reader::row_section::line_body;
}

std::vector<const row_keyword*> matching_rows(std::string_view keyword, description_text which,
                                              bool header, bool plan) {
  return reader::entries_matching(keyword, section_of(which, header), plan);
}

keyword_rule rule_view(const row_keyword& r) {
  return {r.name,
          r.values.size(),
          reader::text_of(r.section),
          r.section == reader::row_section::line_header,
          r.needs_plan,
          &r};
}

}  // namespace

keyword_rule rule_of(const reader::row_keyword& entry) {
  return rule_view(entry);
}

std::vector<keyword_rule> keyword_rules() {
  std::vector<keyword_rule> out;
  for (const row_keyword& r : reader::row_keywords) out.push_back(rule_view(r));
  return out;
}

std::vector<keyword_rule> keywords_matching(std::string_view field, description_text which,
                                            bool header, bool plan) {
  std::vector<keyword_rule> out;
  for (const row_keyword* r : matching_rows(field, which, header, plan)) {
    out.push_back(rule_view(*r));
  }
  return out;
}

std::optional<known_row> known_row_of(std::string_view keyword, description_text which, bool header,
                                      bool plan) {
  const std::vector<const row_keyword*> found = matching_rows(keyword, which, header, plan);
  if (found.size() != 1) return std::nullopt;
  return known_row{found[0]->name, found[0]->values.size(), found[0]->noun, found[0]->plural};
}

std::string nearest_keyword(const std::string& keyword, description_text which, bool header) {
  std::vector<std::string> names;
  for (const row_keyword& r : reader::row_keywords_of(section_of(which, header))) {
    if (r.kind == row_kind::curve) {
      for (const char side : {'d', 's'}) {
        for (char digit = '1'; digit <= '6'; ++digit) {
          names.push_back(std::string("curva") + side + digit);
        }
      }
    } else {
      names.emplace_back(r.name);
    }
  }
  return nearest_word(keyword, names, 2);
}

const row_keyword* case_slip_of(std::string_view keyword, description_text which, bool header) {
  for (const row_keyword& r : reader::row_keywords_of(section_of(which, header))) {
    if (!r.exact_case) continue;
    const bool nocase = std::all_of(r.parts.begin(), r.parts.end(), [&](std::string_view part) {
      return part.empty() || reader::contains_nocase(keyword, part);
    });
    if (nocase) return &r;
  }
  return nullptr;
}

bool names_a_curve(std::string_view keyword) {
  const auto found = matching_rows(keyword, description_text::line, false, true);
  return std::any_of(found.begin(), found.end(),
                     [](const row_keyword* r) { return r->kind == row_kind::curve; });
}

bool names_a_body_row(std::string_view keyword) {
  return !matching_rows(keyword, description_text::line, false, true).empty();
}

unread_rows rows_after(const source_text& text, std::size_t line, model::description_text which,
                       bool plan) {
  unread_rows rows;
  std::vector<std::pair<std::string_view, std::size_t>> counts;  // plural, count
  std::vector<std::string_view> singular;
  const std::string& b = text.bytes();
  std::size_t number = 1;
  for (std::size_t at = 0; at <= b.size();) {
    std::size_t end = b.find_first_of("\r\n", at);
    if (end == std::string::npos) end = b.size();
    if (number > line) {
      const std::string_view whole(b.data() + at, end - at);
      // The keyword: the first field that holds no "-" (a comment field).
      std::string_view keyword;
      std::size_t from = 0;
      for (int k = 0; k < 3; ++k) {
        const std::size_t comma = whole.find(',', from);
        std::string_view field = whole.substr(
            from, comma == std::string_view::npos ? std::string_view::npos : comma - from);
        while (!field.empty() && (field.front() == ' ' || field.front() == '\t')) {
          field.remove_prefix(1);
        }
        keyword = field;
        if (field.find('-') == std::string_view::npos || comma == std::string_view::npos) break;
        from = comma + 1;
      }
      const bool header = false;
      if (const auto kind = known_row_of(keyword, which, header, plan)) {
        if (rows.first_line == 0) rows.first_line = line + 1;
        rows.last_line = number;
        bool found = false;
        for (std::size_t i = 0; i < counts.size(); ++i) {
          if (counts[i].first == kind->plural) {
            ++counts[i].second;
            found = true;
          }
        }
        if (!found) {
          counts.emplace_back(kind->plural, 1);
          singular.push_back(kind->noun);
        }
      }
    }
    if (end == b.size()) break;
    at = end + ((b[end] == '\r' && end + 1 < b.size() && b[end + 1] == '\n') ? 2 : 1);
    ++number;
  }
  for (std::size_t i = 0; i < counts.size(); ++i) {
    if (!rows.summary.empty()) rows.summary += ", ";
    rows.summary += std::to_string(counts[i].second);
    rows.summary += ' ';
    rows.summary += counts[i].second == 1 ? singular[i] : counts[i].first;
  }
  return rows;
}

}  // namespace scenario_tool
