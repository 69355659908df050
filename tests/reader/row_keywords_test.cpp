#include "reader/row_keywords.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "reader_fixture.h"

namespace {

using reader::pass_end;
using testing_support::crlf_text;
using testing_support::line_text;
using testing_support::reader_fixture;

std::string upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

// Each keyword as the shipped texts write it passes its own test, in upper
// case only when case does not count, and a curve only when a plan is built.
TEST(RowKeywords, EachShippedKeywordPassesItsOwnTest) {
  for (const reader::row_keyword& k : reader::row_keywords) {
    SCOPED_TRACE(std::string(k.name));
    EXPECT_TRUE(reader::matches(k, k.name, true));
    EXPECT_EQ(reader::matches(k, upper(k.name), true), !k.exact_case);
    EXPECT_EQ(reader::matches(k, k.name, false), !k.needs_plan);
    EXPECT_FALSE(reader::matches(k, "", true));
  }
}

TEST(RowKeywords, SectionsHoldTheirEntriesInTableOrder) {
  std::size_t next = 0;
  for (const auto section : {reader::row_section::line_header, reader::row_section::line_body,
                             reader::row_section::train_body}) {
    for (const reader::row_keyword& k : reader::row_keywords_of(section)) {
      EXPECT_EQ(&k, &reader::row_keywords[next]);
      ++next;
    }
  }
  EXPECT_EQ(next, std::size(reader::row_keywords));
}

// A keyword field that passes two tests applies both rows in the order the
// reader tries them, each reading its own values: the first row takes the
// first values.
TEST(RowKeywords, AHeaderFieldPassingTwoTestsAppliesBothInOrder) {
  reader_fixture f;
  f.line(crlf_text({"[generale]", "lunghezza percorso,    91000", "sfondo tre uno,    7,    9",
                    "progressiva tre due,    0,    500,    0,    0,    300,    0", "[curve]"}));
  EXPECT_EQ(f.m().error_code, 0);
  const auto& s = f.m().station_table;
  // "uno" is tried before "tre".
  EXPECT_EQ((std::array{s[85].start, s[85].end}), (std::array{7, 9}));
  // "tre" is tried before "due": the "tre" reference has offset 500, the "due"
  // one 300, and with no chainage the ordering puts "due" first, "tre" second.
  EXPECT_EQ((std::array{s[81].end, s[82].end}), (std::array{300, 500}));
}

TEST(RowKeywords, ABodyFieldPassingTwoTestsAppliesBothInOrder) {
  // The gradient row is tried before the curve: it reads 100 and 3, the curve
  // 1150 and 250.
  reader_fixture with_plan;
  ASSERT_EQ(with_plan.line(line_text(91000, "pendenza curvad2,  100,  3,  1150,  250\r\n")),
            pass_end::completed);
  EXPECT_EQ(with_plan.m().track_cells[1].gradient, 100);
  EXPECT_EQ(with_plan.m().track_cells[2].gradient, 103);
  EXPECT_DOUBLE_EQ(with_plan.m().plan.number(1151, 0), 0.0002);

  // Without a plan the curve's test fails: its two numbers are then keyword
  // fields that match nothing.
  reader_fixture without_plan(0);
  ASSERT_EQ(without_plan.line(line_text(91000, "pendenza curvad2,  100,  3,  1150,  250\r\n")),
            pass_end::completed);
  EXPECT_EQ(without_plan.m().error_code, 0);
  EXPECT_EQ(without_plan.m().track_cells[2].gradient, 103);
}

TEST(RowKeywords, ATrainFieldPassingTwoTestsAppliesBothInOrder) {
  reader_fixture f(0);
  f.line(line_text(2000, ""));
  // The clock is tried before the sand, the speed before the adhesion.
  ASSERT_EQ(f.train(crlf_text({"[generale]", "sabbia orologio,    11 29 30,    7",
                               "aderenza velocita,    100,    120,    100,    90"})),
            pass_end::completed);
  const auto& train = f.m().station_table[86];
  EXPECT_EQ((std::array{train.group2_a, train.group2_b, train.group2_c}),
            (std::array<std::int16_t, 3>{11, 29, 30}));
  EXPECT_EQ(train.group1_a, 7);
  EXPECT_EQ(f.m().track_cells[5].speed_limit, 24);  // 120 km/h in fifths
  EXPECT_EQ(f.m().track_cells[5].adhesion, 90);
}

}  // namespace
