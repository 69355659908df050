// The reference's value tables against the reader's value table: each row's
// section lists every value, in order, with the one name, short letter, unit,
// range and meaning the tool shows. A table edited to differ from the tool,
// or a value the reference forgets, fails here.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "reader/row_keywords.h"
#include "scenario_tool/explain/reference_entries.h"
#include "scenario_tool/shared/value_words.h"

namespace {

// The part of the page from the explain marker that lists `keyword` to the
// next marker.
std::string section_of(std::string_view page, std::string_view keyword) {
  const std::string marker = "<!-- explain: ";
  for (std::size_t at = page.find(marker); at != std::string_view::npos;
       at = page.find(marker, at + 1)) {
    const std::size_t end = page.find("-->", at);
    std::string names(" ");
    names.append(page.substr(at + marker.size(), end - at - marker.size()));
    names.push_back('|');
    std::string wanted(" ");
    wanted.append(keyword);
    wanted.append(" |");
    if (names.find(wanted) == std::string::npos) continue;
    const std::size_t next = page.find(marker, end);
    return std::string(page.substr(at, next == std::string_view::npos ? next : next - at));
  }
  return "";
}

TEST(ReferenceValueTables, ListEveryValueAsTheToolNamesIt) {
  const std::string_view page = scenario_tool::format_reference();
  for (const reader::row_keyword& k : reader::row_keywords) {
    const std::string section = section_of(page, k.name);
    ASSERT_FALSE(section.empty()) << "no section lists " << k.name;
    for (std::size_t i = 0; i < k.values.size(); ++i) {
      const reader::row_value& v = k.values[i];
      const std::string range = scenario_tool::range_text(v);
      const std::string unit = v.text ? "text" : v.unit.empty() ? "—" : std::string(v.unit);
      std::string line("| ");
      for (const std::string& cell :
           {std::to_string(i + 1), std::string(v.short_name), std::string(v.name), unit,
            range.empty() ? std::string("—") : range, std::string(v.meaning)}) {
        line.append(cell);
        line.append(" | ");
      }
      line.pop_back();
      EXPECT_NE(section.find(line), std::string::npos) << k.name << ": the reference lacks\n"
                                                       << line;
    }
  }
}

// One name per value: a name means one thing wherever it stands (the
// chainage of every body row is "chainage"), and no two values of a row share it.
TEST(ReferenceValueTables, NoRowNamesTwoValuesAlike) {
  for (const reader::row_keyword& k : reader::row_keywords) {
    for (std::size_t i = 0; i < k.values.size(); ++i) {
      for (std::size_t j = i + 1; j < k.values.size(); ++j) {
        EXPECT_NE(k.values[i].name, k.values[j].name) << k.name;
        EXPECT_NE(k.values[i].short_name, k.values[j].short_name) << k.name;
      }
      EXPECT_FALSE(k.values[i].meaning.empty()) << k.name << " " << k.values[i].name;
      EXPECT_FALSE(k.values[i].stored.empty()) << k.name << " " << k.values[i].name;
    }
  }
}

}  // namespace
