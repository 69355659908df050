#include "scenario_tool/compile/keyword_guess.h"

#include <algorithm>

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

}  // namespace scenario_tool
