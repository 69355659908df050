// The train description text of train 47306: its file, its sections and rows,
// the field widths of its station and signal rows, and its place names.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "driver/Form1.h"
#include "scenari/document_lines.h"
#include "scenari/scenario_texts.h"
#include "support/fake_platform.h"
#include "support/temp_folder.h"

namespace {

using testing_support::line_at;

std::vector<std::string> train_text() {
  return testing_support::crlf_lines(scenari::render_lines(scenari::treno_lines()));
}

struct quoted_line {
  int number;
  const char* text;
};

TEST(TrainText, QuotedLinesStandAtTheirNumbers) {
  static const quoted_line quoted[] = {
      {1, "[generale]"},
      {2, "numero vetture,    5"},
      {3, "percentuale massa frenata,    115"},
      {4, "sabbia,    300"},
      {5, "orologio,    11              29            30 "},
      {6, "[aderenze]"},
      {7, "aderenza,   0,    100"},
      {8, "[vel_limite]"},
      {9, "velocita,   0,    30"},
      {10, "velocita,    1100,   120"},
      {11, "velocita,    3200,   110"},
      {12, "velocita,    5100,   160"},
      {13, "velocita,   12650,   130"},
      {14, "velocita,   14950,   140"},
      {15, "velocita,   50500,   130"},
      {16, "velocita,   52400,   140"},
      {17, "velocita,   62450,   105"},
      {18, "velocita,   63150,    75"},
      {19, "velocita,   64150,   135"},
      {20, "velocita,   86650,    75"},
      {21, "velocita,   88500,    95"},
      {22, "[stazioni]"},
      {41, "[rallentamenti]"},
      {42, "rallentamento,   16850,   115,  600, 0,  1,  0"},
      {43, "rallentamento,   34600,   105,  200, 0,  1,  105"},
      {44, "[segnali]"},
      {45, "segnale,    1600,   2, 4, 1,  0, 0,    1,  3,1,0, 205"},
      {76, "segnale,   87700,   2, 3, 1,  1, 0,    2,  2,1,1, 0"},
      {77, "[codici]"},
      {78, "[fine]"},
  };
  const auto lines = train_text();
  for (const auto& q : quoted) EXPECT_EQ(line_at(lines, q.number), q.text) << "line " << q.number;

  // Station rows quoted up to the name, which follows after one blank.
  static const quoted_line beginnings[] = {
      {23, "stazione,       0,  7,  700,  1, 0, 0,  3,1,0,  2,1,1,    1,  11,30, 0, "},
      {24, "stazione,    4250, 12,  600,  0, 0, 0,  1,1,0,  4,1,1,   30,  11,36, 0, "},
      {25, "stazione,    8300, 12,  800,  0, 0, 1,  1,1,0,  4,1,1,    0,   0, 0, 0, "},
      {39, "stazione,   85250, 25,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, "},
      {40, "stazione,   88400, 12,  500,  0, 0, 0,  1,1,0,  2,1,1,    0,  12,36, 0, "},
  };
  for (const auto& q : beginnings) {
    const std::string line = line_at(lines, q.number);
    const std::string begin = q.text;
    EXPECT_EQ(line.substr(0, begin.size()), begin) << "line " << q.number;
    EXPECT_GT(line.size(), begin.size()) << "line " << q.number << " has no name";
  }
}

// The first number of a row: the chainage, after the keyword's comma.
int chainage_of(const std::string& line) {
  const std::size_t comma = line.find(',');
  return comma == std::string::npos ? -1 : std::atoi(line.c_str() + comma + 1);
}

TEST(TrainText, SectionsFollowInOrderWithTheirRowsInRisingChainage) {
  struct section {
    const char* header;
    int rows;
    const char* keyword;  // nullptr: one keyword per row, quoted elsewhere
  };
  static const section sections[] = {
      {"[generale]", 4, nullptr},
      {"[aderenze]", 1, "aderenza"},
      {"[vel_limite]", 13, "velocita"},
      {"[stazioni]", 18, "stazione"},
      {"[rallentamenti]", 2, "rallentamento"},
      {"[segnali]", 32, "segnale"},
      {"[codici]", 0, nullptr},
      {"[fine]", 0, nullptr},
  };
  const auto lines = train_text();
  std::size_t number = 1;
  for (const auto& s : sections) {
    SCOPED_TRACE(s.header);
    EXPECT_EQ(line_at(lines, number), s.header) << "line " << number;
    ++number;
    int previous = -1;
    for (int r = 0; r < s.rows; ++r, ++number) {
      const std::string line = line_at(lines, number);
      EXPECT_NE(line.substr(0, 1), "[") << "line " << number;
      if (s.keyword == nullptr) continue;
      EXPECT_EQ(line.substr(0, line.find(',')), s.keyword) << "line " << number;
      const int chainage = chainage_of(line);
      EXPECT_GT(chainage, previous) << "line " << number;
      EXPECT_EQ(chainage % 50, 0) << "line " << number;
      previous = chainage;
    }
  }
  EXPECT_EQ(lines.size(), number - 1) << "lines after \"[fine]\"";
}

// Checks that `line`, from `pos`, holds "," and then each number right-aligned
// in its width; moves `pos` past the last one.
void expect_fields(const std::string& line, std::size_t& pos, const std::vector<int>& values,
                   const std::vector<int>& widths) {
  for (std::size_t f = 0; f < values.size(); ++f) {
    const std::string text = std::to_string(values[f]);
    const std::string field = std::string(widths[f] - text.size(), ' ') + text;
    EXPECT_EQ(line.substr(pos, 1 + field.size()), "," + field) << "field " << f + 1;
    pos += 1 + field.size();
  }
}

TEST(TrainText, StationRowsHoldTheirSixteenNumbersInTheirWidthsThenTheName) {
  static const std::vector<int> widths = {8, 3, 5, 3, 2, 2, 3, 1, 1, 3, 1, 1, 5, 4, 2, 2};
  static const std::vector<std::vector<int>> rows = {
      {0, 7, 700, 1, 0, 0, 3, 1, 0, 2, 1, 1, 1, 11, 30, 0},
      {4250, 12, 600, 0, 0, 0, 1, 1, 0, 4, 1, 1, 30, 11, 36, 0},
      {8300, 12, 800, 0, 0, 1, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0},
      {12950, 12, 500, 0, 0, 1, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0},
      {17100, 28, 200, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
      {19950, 22, 800, 0, 0, 1, 0, 0, 0, 4, 1, 1, 0, 0, 0, 0},
      {28350, 12, 600, 1, 0, 1, 4, 1, 0, 2, 1, 1, 30, 11, 50, 0},
      {37400, 12, 300, 0, 0, 1, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0},
      {44400, 12, 500, 0, 0, 1, 1, 1, 0, 4, 1, 1, 30, 12, 0, 0},
      {51200, 12, 500, 0, 0, 0, 1, 1, 0, 4, 1, 1, 30, 12, 6, 0},
      {57850, 28, 200, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
      {60600, 27, 200, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
      {63300, 12, 500, 0, 0, 0, 1, 1, 0, 4, 1, 1, 30, 12, 16, 0},
      {70150, 22, 500, 0, 0, 1, 0, 0, 0, 4, 1, 1, 0, 0, 0, 0},
      {75350, 12, 500, 1, 0, 1, 4, 1, 1, 2, 1, 1, 30, 12, 25, 0},
      {79500, 22, 600, 0, 0, 1, 0, 0, 0, 4, 1, 1, 0, 0, 0, 0},
      {85250, 25, 200, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
      {88400, 12, 500, 0, 0, 0, 1, 1, 0, 2, 1, 1, 0, 12, 36, 0},
  };
  const auto lines = train_text();
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const std::string line = line_at(lines, 23 + r);
    SCOPED_TRACE("line " + std::to_string(23 + r) + ": " + line);
    ASSERT_EQ(line.substr(0, 8), "stazione");
    std::size_t pos = 8;
    expect_fields(line, pos, rows[r], widths);
    EXPECT_EQ(line.substr(pos, 2), ", ");
    const std::string name = pos + 2 < line.size() ? line.substr(pos + 2) : "";
    ASSERT_FALSE(name.empty());
    EXPECT_EQ(name.find(','), std::string::npos);
    EXPECT_NE(name.front(), ' ');
  }
}

TEST(TrainText, SignalRowsHoldTheirElevenNumbersInTheirWidths) {
  static const std::vector<int> widths = {8, 4, 2, 2, 3, 2, 5, 3, 1, 1};
  static const std::vector<std::array<int, 11>> rows = {{
      {1600, 2, 4, 1, 0, 0, 1, 3, 1, 0, 205},  {2950, 2, 3, 1, 1, 0, 2, 2, 1, 0, 0},
      {6000, 2, 4, 1, 0, 0, 0, 0, 0, 0, 0},    {7350, 2, 4, 1, 0, 0, 0, 0, 0, 0, 0},
      {10400, 2, 5, 6, 0, 0, 0, 0, 0, 0, 0},   {12000, 2, 2, 4, 0, 0, 0, 0, 0, 0, 0},
      {14750, 1, 4, 0, 0, 0, 0, 0, 0, 0, 0},   {16100, 2, 4, 0, 0, 0, 0, 0, 0, 0, 0},
      {17500, 1, 4, 1, 0, 0, 1, 3, 1, 0, 0},   {18700, 2, 4, 1, 0, 0, 2, 2, 1, 0, 0},
      {26200, 1, 5, 6, 0, 0, 0, 0, 0, 0, 0},   {27450, 2, 2, 3, 1, 0, 0, 0, 0, 0, 0},
      {35050, 1, 4, 1, 0, 0, 0, 0, 0, 0, 205}, {36250, 2, 4, 1, 0, 0, 0, 0, 0, 0, 0},
      {42150, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0},   {43400, 2, 3, 1, 0, 0, 0, 0, 0, 0, 0},
      {48850, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0},   {50150, 2, 3, 1, 0, 0, 0, 0, 0, 0, 0},
      {56550, 1, 3, 0, 0, 0, 0, 0, 0, 0, 0},   {57750, 2, 4, 0, 0, 0, 0, 0, 0, 0, 215},
      {61000, 1, 3, 4, 0, 0, 0, 0, 0, 0, 0},   {62200, 2, 2, 3, 0, 0, 0, 0, 0, 0, 0},
      {68000, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0},   {69200, 2, 4, 1, 0, 0, 0, 0, 0, 0, 0},
      {72850, 1, 5, 6, 0, 0, 0, 0, 0, 0, 0},   {74050, 2, 2, 3, 0, 0, 0, 0, 0, 0, 0},
      {77400, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0},   {78600, 2, 4, 1, 0, 0, 0, 0, 0, 0, 0},
      {83650, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0},   {84850, 2, 4, 1, 0, 0, 0, 0, 0, 0, 0},
      {86500, 1, 5, 1, 0, 0, 1, 3, 1, 0, 0},   {87700, 2, 3, 1, 1, 0, 2, 2, 1, 1, 0},
  }};
  const auto lines = train_text();
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const std::string line = line_at(lines, 45 + r);
    SCOPED_TRACE("line " + std::to_string(45 + r) + ": " + line);
    ASSERT_EQ(line.substr(0, 7), "segnale");
    std::size_t pos = 7;
    expect_fields(line, pos, {rows[r].begin(), rows[r].begin() + 10}, widths);
    // `tempo` after one blank, to the end of the line.
    EXPECT_EQ(line.substr(pos), ", " + std::to_string(rows[r][10]));
  }
}

TEST(TrainText, EveryLineIsPrintableAsciiAndOnlyTheClockRowEndsWithABlank) {
  const auto lines = train_text();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    SCOPED_TRACE("line " + std::to_string(i + 1));
    ASSERT_FALSE(line.empty());
    EXPECT_TRUE(testing_support::printable_ascii(line));
    EXPECT_EQ(line.find('"'), std::string::npos);
    EXPECT_NE(line.front(), ' ');
    EXPECT_EQ(line.back() == ' ', i + 1 == 5);
  }
}

// The limits that the driver documents put on the names (the train card's
// title box and place cell, the slowdown order's station pairs).
TEST(TrainText, PlaceNamesFitEveryDocumentThatRepeatsThem) {
  const auto names = testing_support::station_names();
  ASSERT_EQ(names.size(), 18u);
  std::size_t longest = 0;
  int with_small_letters = 0, with_apostrophe = 0, with_period = 0;
  for (const auto& [chainage, name] : names) {
    SCOPED_TRACE(name);
    longest = std::max(longest, name.size());
    if (name.find("' ") != std::string::npos) ++with_apostrophe;
    if (name.find('.') != std::string::npos) ++with_period;
    if (testing_support::upper(name) != name) {
      ++with_small_letters;
      // Only a place that no document writes in capitals.
      EXPECT_TRUE(chainage == 57850 || chainage == 60600 || chainage == 85250);
      // One lower-case word among capital ones.
      int lower_words = 0;
      std::size_t start = 0;
      while (start < name.size()) {
        std::size_t end = name.find(' ', start);
        if (end == std::string::npos) end = name.size();
        const std::string word = name.substr(start, end - start);
        if (testing_support::upper(word) != word) {
          ++lower_words;
          EXPECT_TRUE(std::none_of(word.begin(), word.end(), [](char c) {
            return c >= 'A' && c <= 'Z';
          })) << word;
        }
        start = end + 1;
      }
      EXPECT_EQ(lower_words, 1);
    }
  }
  EXPECT_EQ(longest, 24u);
  EXPECT_EQ(with_small_letters, 1);
  EXPECT_EQ(with_apostrophe, 1);
  EXPECT_EQ(with_period, 1);

  // Title box: 22 characters for the origin and the terminus.
  EXPECT_LE(names.at(0).size(), 22u);
  EXPECT_LE(names.at(88400).size(), 22u);
  // "Dev. U. " / "Dev. I. " from position 7 of the 28-character place cell.
  for (int chainage : {0, 51200, 63300}) EXPECT_LE(names.at(chainage).size(), 14u) << chainage;
  // The slowdown order's station pairs within 27 characters after the leading space.
  EXPECT_LE(names.at(12950).size() + names.at(19950).size(), 24u);
  EXPECT_LE(names.at(28350).size() + names.at(37400).size(), 22u);
}

}  // namespace
