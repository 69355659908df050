// Every value of every row against its range, set and step: the lowest and
// highest valid value give nothing at the field; one below, one above and one
// off its step each give their diagnostic at that field (line and column).
// The ranges and names here are written from the format reference's tables,
// not read from the tool's own table.
#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "model/windows_1252.h"
#include "reader/row_keywords.h"
#include "scenario_tool/compile/compile_core.h"
#include "scenario_tool/compile/warning_names.h"

namespace {

using scenario_tool::diagnostic;

// Rows as fields; the keyword first. Every row's values valid, each object on
// a cell of its own.
using row = std::vector<std::string>;
const std::vector<row> line_rows = {
    {"[generale]"},
    {"lunghezza percorso", "20000"},
    {"progressiva chilometrica uno", "0", "0", "0"},
    {"progressiva chilometrica due", "0", "0", "0"},
    {"progressiva chilometrica tre", "0", "0", "0"},
    {"sfondo uno", "0"},
    {"sfondo due", "1"},
    {"sfondo tre", "60000"},
    {"ripetizione segnali 4 codici", "1000", "12000"},
    {"[curve]"},
    {"pendenza", "0", "0"},
    {"curvad2", "1000", "200"},
    {"montagna", "2000", "2500", "1"},
    {"indicatori_vmax", "3000", "100", "110", "120", "0", "100", "110", "120", "0"},
    {"cartello_indicatore", "4000", "(SIGN)"},
    {"[fine]"},
};
const std::vector<row> train_rows = {
    {"[generale]"},
    {"numero vetture", "8"},
    {"percentuale massa frenata", "115"},
    {"sabbia", "300"},
    {"orologio", "11", "30", "0"},
    {"aderenza", "0", "100"},
    {"velocita", "0", "100"},
    {"stazione", "5000", "12", "600", "0", "0", "0", "1", "1", "0", "4", "1", "1", "30", "11", "36",
     "0", "NAME"},
    {"segnale", "7000", "2", "4", "1", "0", "0", "1", "3", "1", "0", "205"},
    {"rallentamento", "9000", "60", "500", "0", "1", "0"},
    {"abbattimento", "12000", "80"},
    {"[fine]"},
};

std::string text_of(const std::vector<row>& rows) {
  std::string out;
  for (const row& r : rows) {
    for (std::size_t f = 0; f < r.size(); ++f) out += (f == 0 ? "" : ", ") + r[f];
    out += "\r\n";
  }
  return out;
}

// The line (from 1) and column (from 1) where field `field` of the row that
// begins with `keyword` holds its number.
std::pair<std::size_t, std::size_t> place_of(const std::vector<row>& rows,
                                             const std::string& keyword, std::size_t field) {
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i][0] != keyword) continue;
    std::size_t column = rows[i][0].size() + 1;
    for (std::size_t f = 1; f < field; ++f) column += 2 + rows[i][f].size();
    return {i + 1, column + 2};  // after ", "
  }
  return {0, 0};
}

struct value_case {
  const char* keyword;
  std::size_t field;
  std::int64_t lowest;
  std::int64_t highest;
  // What one below the lowest and one above the highest give ("" when the
  // value has no such bound a number field can pass); "error N" for a code
  // the compile records.
  const char* below;
  const char* above;
  // A value within the bounds but off the step or out of the set, and what it gives.
  std::optional<std::int64_t> off = std::nullopt;
  const char* off_gives = "";
  bool test_highest = true;  // false where the highest runs off the short test line
  // The value's step: one below and one above are a step beyond the bounds,
  // so that they are on the step.
  std::int64_t step = 1;
};

void PrintTo(const value_case& c, std::ostream* os) {
  *os << c.keyword << " field " << c.field;
}

constexpr std::int64_t int_min = -2147483648LL;
constexpr std::int64_t int_max = 2147483647LL;

const value_case value_cases[] = {
    // Line text header.
    {"lunghezza percorso", 1, 0, 1000000, "value-out-of-range", "error 1"},
    {"progressiva chilometrica uno", 2, -1000000, 1000000, "value-out-of-range",
     "value-out-of-range", std::nullopt, "", true, 50},
    {"progressiva chilometrica uno", 3, 0, 1, "value-out-of-range", "value-out-of-range"},
    {"progressiva chilometrica due", 2, -1000000, 1000000, "value-out-of-range",
     "value-out-of-range", std::nullopt, "", true, 50},
    {"progressiva chilometrica due", 3, 0, 1, "value-out-of-range", "value-out-of-range"},
    {"progressiva chilometrica tre", 2, -1000000, 1000000, "value-out-of-range",
     "value-out-of-range", std::nullopt, "", true, 50},
    {"progressiva chilometrica tre", 3, 0, 1, "value-out-of-range", "value-out-of-range"},
    {"sfondo uno", 1, int_min, int_max, "", ""},
    {"sfondo due", 1, int_min, int_max, "", ""},
    {"sfondo tre", 1, int_min, int_max, "", ""},
    // Line text body. A gradient is kept plus 100 in a byte: -101 and 156 wrap.
    {"pendenza", 2, -100, 155, "value-wraps", "value-wraps"},
    {"curvad2", 2, 1, 1000000, "value-out-of-range", "", std::nullopt, "", false},
    {"montagna", 3, 1, 13, "value-out-of-range", "value-out-of-range", 5, "value-out-of-range"},
    {"indicatori_vmax", 2, 0, 495, "value-out-of-range", "value-out-of-range", 97,
     "value-off-step"},
    {"indicatori_vmax", 3, 0, 495, "value-out-of-range", "value-out-of-range", 97,
     "value-off-step"},
    {"indicatori_vmax", 4, 0, 495, "value-out-of-range", "value-out-of-range", 97,
     "value-off-step"},
    {"indicatori_vmax", 5, 0, 9, "value-out-of-range", "value-out-of-range"},
    {"indicatori_vmax", 6, 0, 495, "value-out-of-range", "value-out-of-range", 97,
     "value-off-step"},
    {"indicatori_vmax", 7, 0, 495, "value-out-of-range", "value-out-of-range", 97,
     "value-off-step"},
    {"indicatori_vmax", 8, 0, 495, "value-out-of-range", "value-out-of-range", 97,
     "value-off-step"},
    {"indicatori_vmax", 9, 0, 9, "value-out-of-range", "value-out-of-range"},
    // Train text.
    {"numero vetture", 1, 0, int_max, "value-out-of-range", ""},
    {"percentuale massa frenata", 1, 0, int_max, "value-out-of-range", ""},
    {"sabbia", 1, -32768, 32767, "value-truncated", "value-truncated"},
    {"orologio", 1, 0, 23, "value-out-of-range", "value-out-of-range"},
    {"orologio", 2, 0, 59, "value-out-of-range", "value-out-of-range"},
    {"orologio", 3, 0, 59, "value-out-of-range", "value-out-of-range"},
    {"aderenza", 2, 0, 255, "value-truncated", "value-truncated"},
    // A line speed is kept in fifths in a byte, halves to even: -1 is kept as 0
    // and 1276 as 255 fifths, both out of the range; 1280 stops the reading.
    {"velocita", 2, 0, 1275, "value-out-of-range", "value-out-of-range", 72, "value-off-step"},
    {"stazione", 2, 0, 255, "value-wraps", "value-wraps"},
    {"stazione", 3, 0, 1000000, "value-out-of-range", "", 650, "error 9", false, 100},
    {"stazione", 4, 0, 255, "value-truncated", "value-truncated"},
    {"stazione", 5, 0, 255, "value-truncated", "value-truncated"},
    {"stazione", 6, 0, 1, "value-wraps", "value-out-of-range"},
    {"stazione", 7, -32768, 32767, "value-truncated", "value-truncated"},
    {"stazione", 8, -32768, 32767, "value-truncated", "value-truncated"},
    {"stazione", 9, 0, 255, "value-truncated", "value-truncated"},
    {"stazione", 10, -32768, 32767, "value-truncated", "value-truncated"},
    {"stazione", 11, -32768, 32767, "value-truncated", "value-truncated"},
    {"stazione", 12, -32768, 32767, "value-truncated", "value-truncated"},
    {"stazione", 13, 0, 255, "value-truncated", "value-truncated"},
    {"stazione", 14, 0, 23, "value-out-of-range", "value-out-of-range"},
    {"stazione", 15, 0, 59, "value-out-of-range", "value-out-of-range"},
    {"stazione", 16, 0, 59, "value-out-of-range", "value-out-of-range"},
    // Left kind -1 with right kind 1 gives approach codes (-3 + 1) x 10 + 4 = -16,
    // which no byte keeps.
    {"segnale", 2, 0, 2, "value-wraps", "value-out-of-range"},
    {"segnale", 3, 0, 9, "value-out-of-range", "value-out-of-range"},
    {"segnale", 4, 0, 9, "value-out-of-range", "value-out-of-range"},
    {"segnale", 5, 0, 9, "value-out-of-range", "value-out-of-range"},
    {"segnale", 6, 0, 9, "value-out-of-range", "value-out-of-range"},
    {"segnale", 7, 0, 2, "value-out-of-range", "value-out-of-range"},
    {"segnale", 8, 0, 9, "value-out-of-range", "value-out-of-range"},
    {"segnale", 9, 0, 9, "value-out-of-range", "value-out-of-range"},
    {"segnale", 10, 0, 9, "value-out-of-range", "value-out-of-range"},
    {"segnale", 11, 0, 255, "value-wraps", "value-wraps"},
    {"rallentamento", 2, 0, 32767, "value-out-of-range", "value-wraps"},
    {"rallentamento", 3, 50, 1000000, "value-out-of-range", "", std::nullopt, "", false, 50},
    {"rallentamento", 4, -32768, 32767, "value-truncated", "value-truncated"},
    {"rallentamento", 5, 0, 1, "value-out-of-range", "value-out-of-range"},
    {"rallentamento", 6, 0, 32767, "value-out-of-range", "value-wraps"},
    {"abbattimento", 2, 0, 32767, "value-out-of-range", "value-wraps"},
};

// The diagnostics at one field, each as its name or "error N", with the
// default levels applied.
std::set<std::string> said_at(const std::vector<row>& line, const std::vector<row>& train,
                              bool in_line, const std::string& keyword, std::size_t field) {
  scenario_tool::compile_request request;
  request.line = scenario_tool::source_text("L", text_of(line));
  request.train = scenario_tool::source_text("T", text_of(train));
  request.route_id = "R";
  request.train_number = "1";
  scenario_tool::compile_result result = scenario_tool::compile_texts(request);
  scenario_tool::warning_policy().apply_to(result.diagnostics);
  const auto [at_line, at_column] = place_of(in_line ? line : train, keyword, field);
  std::set<std::string> out;
  for (const diagnostic& d : result.diagnostics) {
    if (d.file != (in_line ? "L" : "T") || d.line != at_line || d.column != at_column) continue;
    if (d.level == scenario_tool::severity::note) continue;
    out.insert(d.code != 0 ? std::string("error ") + std::to_string(d.code) : d.name);
  }
  return out;
}

std::set<std::string> with_value(const value_case& c, std::int64_t value) {
  std::vector<row> line = line_rows;
  std::vector<row> train = train_rows;
  bool in_line = false;
  for (row& r : line) {
    if (r[0] == c.keyword) {
      r[c.field] = std::to_string(value);
      in_line = true;
    }
  }
  for (row& r : train) {
    if (r[0] == c.keyword) r[c.field] = std::to_string(value);
  }
  return said_at(line, train, in_line, c.keyword, c.field);
}

class ValueRanges : public testing::TestWithParam<value_case> {};

TEST_P(ValueRanges, TheBoundsPassAndEachStepOutIsToldAtItsField) {
  const value_case& c = GetParam();
  const std::set<std::string> none;
  EXPECT_EQ(with_value(c, c.lowest), none) << "lowest " << c.lowest;
  if (c.test_highest) {
    EXPECT_EQ(with_value(c, c.highest), none) << "highest " << c.highest;
  }
  if (*c.below != '\0') {
    EXPECT_EQ(with_value(c, c.lowest - c.step), std::set<std::string>{c.below})
        << c.lowest - c.step;
  }
  if (*c.above != '\0') {
    EXPECT_EQ(with_value(c, c.highest + c.step), std::set<std::string>{c.above})
        << c.highest + c.step;
  }
  if (c.off) {
    EXPECT_EQ(with_value(c, *c.off), std::set<std::string>{c.off_gives}) << *c.off;
  }
}

INSTANTIATE_TEST_SUITE_P(EveryValue, ValueRanges, testing::ValuesIn(value_cases));

// The table above covers every number of every row but the chainages, whose
// rounding and reach have diagnostics of their own.
TEST(ValueRangesCover, EveryNumberOfEveryRowButTheChainages) {
  for (const reader::row_keyword& k : reader::row_keywords) {
    for (std::size_t f = 1; f <= k.values.size(); ++f) {
      const reader::row_value& v = k.values[f - 1];
      if (v.text || v.chainage) continue;
      bool covered = false;
      for (const value_case& c : value_cases) {
        const std::string keyword = c.keyword;
        covered =
            covered || (c.field == f && reader::matches(k, keyword, true) &&
                        (k.kind != reader::row_kind::curve || keyword.rfind("curva", 0) == 0));
      }
      EXPECT_TRUE(covered) << k.name << " value " << f << " (" << v.name << ")";
    }
  }
}

// What the simulator sees, in the author's units; which are faults of the row.
struct said_case {
  const char* name;
  row changed;  // a line or train row that replaces the fixture's row of its keyword
  std::size_t field;
  std::string words;
  scenario_tool::severity level;
};

void PrintTo(const said_case& c, std::ostream* os) {
  *os << c.name;
}

class ValueWords : public testing::TestWithParam<said_case> {};

TEST_P(ValueWords, SayWhatIsStoredInTheAuthorsUnits) {
  const said_case& c = GetParam();
  std::vector<row> line = line_rows;
  std::vector<row> train = train_rows;
  bool in_line = false;
  for (row& r : line) {
    if (r[0] == c.changed[0]) {
      r = c.changed;
      in_line = true;
    }
  }
  for (row& r : train) {
    if (r[0] == c.changed[0]) r = c.changed;
  }
  scenario_tool::compile_request request;
  request.line = scenario_tool::source_text("L", text_of(line));
  request.train = scenario_tool::source_text("T", text_of(train));
  request.route_id = "R";
  request.train_number = "1";
  scenario_tool::compile_result result = scenario_tool::compile_texts(request);
  scenario_tool::warning_policy().apply_to(result.diagnostics);
  const auto [at_line, at_column] = place_of(in_line ? line : train, c.changed[0], c.field);
  std::vector<std::pair<std::string, scenario_tool::severity>> found;
  for (const diagnostic& d : result.diagnostics) {
    if (d.line == at_line && d.column == at_column && !d.name.empty()) {
      found.emplace_back(model::utf8_from_windows_1252(d.text), d.level);
    }
  }
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].first, c.words);
  EXPECT_EQ(found[0].second, c.level);
}

const said_case said_cases[] = {
    // 160 + 100 = 260 keeps 4 in a byte: 4 - 100 = -96.
    {"GradientBecomesADescent",
     {"pendenza", "0", "160"},
     2,
     "gradient 160 ‰ is stored as -96 ‰: a descent (the range is -100 to 155)",
     scenario_tool::severity::error},
    // -120 + 100 = -20 keeps 236: 136 ‰.
    {"DescentBecomesAClimb",
     {"pendenza", "0", "-120"},
     2,
     "gradient -120 ‰ is stored as 136 ‰: a climb (the range is -100 to 155)",
     scenario_tool::severity::error},
    // 40000 - 65536 = -25536.
    {"SpeedPointSpeedTurnsNegative",
     {"abbattimento", "12000", "40000"},
     2,
     "speed 40000 km/h is stored as -25536 km/h: a negative speed (the range is 0 to "
     "32767)",
     scenario_tool::severity::error},
    // 72 / 5 = 14.4, to 14 fifths: 70 km/h.
    {"LineSpeedOffItsStep",
     {"velocita", "0", "72"},
     2,
     "line speed 72 km/h is not a multiple of 5: the cells keep it in steps of 5, as 70 km/h",
     scenario_tool::severity::warning},
    // 100 / 5 + 97 x 20 = 1960: 19 fifths on the left (95), 60 on the right (300).
    {"IndicatorLeftSpeedShiftsIntoTheRight",
     {"indicatori_vmax", "3000", "97", "110", "120", "0", "100", "110", "120", "0"},
     2,
     "left speed A 97 km/h is not a multiple of 5: the sign's cell keeps 1960 (left x 20 + right "
     "/ 5), as a sign of 95 km/h on the left and 300 km/h on the right would",
     scenario_tool::severity::warning},
    {"ClockOutOfItsRange",
     {"orologio", "25", "30", "0"},
     1,
     "clock hours 25 h is outside its range, 0 to 23: the compile stores it as written (station "
     "entry 86 group2_a)",
     scenario_tool::severity::warning},
    {"SideCodeOutOfItsSet",
     {"montagna", "2000", "2500", "5"},
     3,
     "side code 5 is not one of 1, 2, 3, 11, 12 or 13: the compile stores it as written (each "
     "cell's mountain byte, less 10 when above 10)",
     scenario_tool::severity::warning},
    {"StretchEndingBeforeItsStart",
     {"montagna", "2500", "2000", "1"},
     2,
     "stretch end 2000 m is before its start, 2500 m: the stretch marks no cell",
     scenario_tool::severity::error},
    {"StretchEndingWhereItStarts",
     {"montagna", "2500", "2500", "1"},
     2,
     "stretch end 2500 m is its start: the stretch marks no cell",
     scenario_tool::severity::error},
};

INSTANTIATE_TEST_SUITE_P(Faults, ValueWords, testing::ValuesIn(said_cases),
                         [](const testing::TestParamInfo<said_case>& i) { return i.param.name; });

}  // namespace
