#include "reader/row_keywords.h"

#include <algorithm>

#include "reader/keyword.h"

namespace reader {
namespace {

// Each section's entries stand together, so that one span holds them.
constexpr bool sections_stand_together() {
  for (std::size_t i = 1; i < std::size(row_keywords); ++i) {
    if (row_keywords[i].section == row_keywords[i - 1].section) continue;
    for (std::size_t j = 0; j + 1 < i; ++j) {
      if (row_keywords[j].section == row_keywords[i].section) return false;
    }
  }
  return true;
}
static_assert(sections_stand_together());

}  // namespace

std::span<const row_keyword> row_keywords_of(row_section section) {
  const auto in_section = [section](const row_keyword& k) { return k.section == section; };
  const auto* first = std::find_if(std::begin(row_keywords), std::end(row_keywords), in_section);
  const auto* last = std::find_if_not(first, std::end(row_keywords), in_section);
  return {first, last};
}

bool matches(const row_keyword& keyword, std::string_view field, bool plan) {
  if (keyword.needs_plan && !plan) return false;
  return std::all_of(keyword.parts.begin(), keyword.parts.end(), [&](std::string_view part) {
    return part.empty() ||
           (keyword.exact_case ? contains(field, part) : contains_nocase(field, part));
  });
}

std::vector<const row_keyword*> entries_matching(std::string_view field, row_section section,
                                                 bool plan) {
  std::vector<const row_keyword*> found;
  for (const row_keyword& k : row_keywords_of(section)) {
    if (matches(k, field, plan)) found.push_back(&k);
  }
  return found;
}

}  // namespace reader
