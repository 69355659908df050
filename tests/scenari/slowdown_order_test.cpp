// The slowdown order of train 47306: its file, its fixed lines and kinds of
// blank lines, the table frame, and the two data rows cell by cell, with the
// stations taken from the train text.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
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

std::vector<std::string> order() {
  return testing_support::crlf_lines(scenari::render_lines(scenari::rallentamenti_lines()));
}

const std::string table_rule =
    " |___|____________________________|____________|__________|_________|____________|";
const std::string spacer_row =
    " |   |                            |            |          |         |            |";

TEST(SlowdownOrder, FixedLinesAndBlankLinesStandAtTheirNumbers) {
  const std::map<int, std::string> fixed = {
      {1, ""},
      {2, std::string(31, ' ') + "Modulo M. 3"},
      {3, std::string(27, ' ') + "ORDINE DI RALLENTAMENTO"},
      {4, std::string(" ").append(80, '_')},
      {6, ""},
      {7, "  Si ordina al macchinista del treno 47306 di effettuare i seguenti rallentamenti"},
      {8, std::string("  ").append(79, '_')},
      {9, " |   |                            |Inizio dopo |          |         |            |"},
      {10, " | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|"},
      {11, " |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |"},
      {12, table_rule},
      {13, spacer_row},
      {15, spacer_row},
      {17, spacer_row},
      {18, spacer_row},
      {19, spacer_row},
      {20, spacer_row},
      {21, table_rule},
      {22, ""},
      {23, std::string(14, ' ') + "Prescrizioni specifiche"},
      {24, ""},
      {25, " A - Da rispettare con tutto il treno (per i treni viaggiatori)"},
      {26, " "},
      {28, " "},
      {29, " D - Rallentamneto N. ... e N. ...  sono contigui"},
      {30, " "},
      {31, " C - Da rispettare dalle ore ....  alle ore ..... di tutti"},
      {32, "     i giorni esclusi i seguenti:........."},
  };
  const auto lines = order();
  for (const auto& [number, text] : fixed) EXPECT_EQ(line_at(lines, number), text) << number;
}

TEST(SlowdownOrder, LinesHaveTheirLengthsAndArePlainAscii) {
  std::map<int, std::size_t> lengths = {{2, 42},  {3, 50},  {4, 81},  {7, 81},  {8, 81},
                                        {23, 37}, {25, 63}, {29, 49}, {31, 58}, {32, 42}};
  for (int n = 9; n <= 21; ++n) lengths[n] = 82;
  const auto lines = order();
  for (const auto& [number, length] : lengths) {
    EXPECT_EQ(line_at(lines, number).size(), length) << "line " << number;
  }
  for (std::size_t n = 1; n <= lines.size(); ++n) {
    EXPECT_TRUE(testing_support::printable_ascii(lines[n - 1])) << "line " << n;
  }
  // Line 4's rule runs from column 2, line 8's from column 3, both to column 81.
  EXPECT_EQ(line_at(lines, 4).find('_'), 1u);
  EXPECT_EQ(line_at(lines, 8).find('_'), 2u);
}

TEST(SlowdownOrder, EveryTableLineHasItsBarsAndNoOthers) {
  const std::vector<int> bars = {2, 6, 35, 48, 59, 69, 82};
  const auto lines = order();
  for (std::size_t n = 9; n <= 21; ++n) {
    const std::string line = line_at(lines, n);
    EXPECT_EQ(testing_support::columns_of(line, '|'), bars) << "line " << n;
    EXPECT_EQ(line.substr(0, 1), " ") << "line " << n;
  }
}

// `text` written into a cell of `width` blanks so that it starts at `position`
// (counted from 1).
std::string cell(std::size_t width, std::size_t position, const std::string& text) {
  std::string result(width, ' ');
  return result.replace(position - 1, text.size(), text);
}

// A whole number whose last digit stands at `last` of a cell of `width`.
std::string number_cell(std::size_t width, std::size_t last, int value) {
  const std::string text = std::to_string(value);
  return cell(width, last + 1 - text.size(), text);
}

TEST(SlowdownOrder, NamesTheStationsOfTheTrainText) {
  const auto names = testing_support::station_names();
  const auto lines = order();
  EXPECT_EQ(line_at(lines, 5), "  Linea  " + names.at(0) + " - " + names.at(88400));
  EXPECT_EQ(line_at(lines, 27), " B - Interessa anche la stazione di " + names.at(17100));

  struct row {
    std::size_t line;
    int number;
    std::string stations;
    int kilometre, speed, length;
    std::string prescription;
  };
  const row rows[] = {
      {14, 1, names.at(12950) + " e " + names.at(19950), 4, 115, 600, "B"},
      {16, 2, names.at(28350) + "  e  " + names.at(37400), 23, 105, 200, ""},
  };
  for (const row& r : rows) {
    const std::string line = line_at(lines, r.line);
    SCOPED_TRACE("line " + std::to_string(r.line) + ": " + line);
    ASSERT_EQ(line.size(), 82u);
    EXPECT_EQ(line.substr(2, 3), cell(3, 2, std::to_string(r.number)));
    EXPECT_EQ(line.substr(6, 28), cell(28, 2, r.stations));
    EXPECT_EQ(line.substr(35, 12), number_cell(12, 7, r.kilometre));
    EXPECT_EQ(line.substr(48, 10), number_cell(10, 7, r.speed));
    EXPECT_EQ(line.substr(59, 9), number_cell(9, 6, r.length));
    EXPECT_EQ(line.substr(69, 12),
              r.prescription.empty() ? std::string(12, ' ') : cell(12, 7, r.prescription));
  }
}

}  // namespace
