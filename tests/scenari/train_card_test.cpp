// The train card of train 47306: its file, its boxes, the table frame, and
// every data row cell by cell, with the places taken from the train text.
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

std::vector<std::string> card() {
  return testing_support::crlf_lines(scenari::render_lines(scenari::scheda_lines()));
}

const std::string spacer_row =
    " |     |     |          |     |                            |                |     |";
const std::string table_rule =
    " |_____|_____|__________|_____|____________________________|________________|_____|";

TEST(TrainCard, FixedLinesStandAtTheirNumbers) {
  const std::map<int, std::string> fixed = {
      {1, ""},
      {2, ""},
      {3, "  ___________________" + std::string(47, ' ') + std::string(14, '_')},
      {4, " |                   |                    SCHEDA                   |              |"},
      {7, std::string(67, ' ') + "|______________|"},
      {8, "  ___________________                ___________________"},
      {9, " |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       "},
      {10, " |        R          |              |      300T         |"},
      {11, " |___________________|              |___________________|"},
      {12, ""},
      {13, "  " + std::string(80, '_')},
      {14, " | Vel.| Vel.| Progr Km |  No |   Localita' di  Servizio   |     Orario     | Rec |"},
      {15, " | Lim.|Marc.|          |  Rs |                            |                |     |"},
      {16, table_rule},
      {83, table_rule},
      {84, ""},
  };
  const auto lines = card();
  for (const auto& [number, text] : fixed) EXPECT_EQ(line_at(lines, number), text) << number;
}

TEST(TrainCard, LinesHaveTheirLengthsAndOnlyLine9EndsWithASpace) {
  std::map<int, std::size_t> lengths = {{1, 0},   {2, 0},   {3, 82}, {8, 56},  {9, 64},
                                        {10, 57}, {11, 57}, {12, 0}, {13, 82}, {84, 0}};
  for (int n = 4; n <= 7; ++n) lengths[n] = 83;
  for (int n = 14; n <= 83; ++n) lengths[n] = 83;
  const auto lines = card();
  ASSERT_EQ(lines.size(), 84u);
  for (int n = 1; n <= 84; ++n) {
    const std::string& line = lines[n - 1];
    EXPECT_EQ(line.size(), lengths.at(n)) << "line " << n;
    EXPECT_TRUE(testing_support::printable_ascii(line)) << "line " << n;
    EXPECT_EQ(!line.empty() && line.back() == ' ', n == 9) << "line " << n;
  }
  EXPECT_EQ(lines[8].substr(57), "       ");
}

TEST(TrainCard, EveryTableLineHasItsBarsAndNoOthers) {
  const std::vector<int> bars = {2, 8, 14, 25, 31, 60, 77, 83};
  const auto lines = card();
  for (std::size_t n = 14; n <= 83; ++n) {
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

TEST(TrainCard, TitleBoxCarriesTheTrainAndTheOriginAndTerminusOfTheTrainText) {
  const auto names = testing_support::station_names();
  const auto lines = card();
  EXPECT_EQ(line_at(lines, 5),
            " |   TRENO n.47306   |" + cell(45, 20, "da: " + names.at(0)) + "|    V160 B    |");
  EXPECT_EQ(line_at(lines, 6),
            " |___________________|" + cell(45, 21, "a: " + names.at(88400)) + "|     115%     |");
  // The same texts open and close the table.
  EXPECT_EQ(line_at(lines, 18).substr(31, 28), cell(28, 2, names.at(0)));
  EXPECT_EQ(line_at(lines, 82).substr(31, 28), cell(28, 2, names.at(88400)));
}

// A timetable cell: departure from the origin, a stop (arrival and departure),
// a passing time, or the arrival at the terminus; times may carry "+".
struct orario {
  enum kind { none, dep, stop, pass, arr } k = none;
  std::string first, second;
};

std::string orario_cell(const orario& o) {
  switch (o.k) {
    case orario::dep:
      return cell(16, 11, o.first);
    case orario::stop:
      return cell(16, 2, o.first).replace(10, o.second.size(), o.second);
    case orario::pass:
      return cell(16, 7, o.first);
    case orario::arr:
      return cell(16, 2, o.first);
    case orario::none:
      break;
  }
  return std::string(16, ' ');
}

// Whole numbers ending at position 4 of a five-character cell; 0 for blank.
std::string speed_cell(int speed) {
  if (speed == 0) return std::string(5, ' ');
  const std::string text = std::to_string(speed);
  return cell(5, 5 - text.size(), text);
}

// Kilometres with three decimals ending at position 8; "" for blank.
std::string km_cell(const std::string& km) {
  if (km.empty()) return std::string(10, ' ');
  if (km == "------") return cell(10, 3, km);
  return cell(10, 9 - km.size(), km);
}

struct data_row {
  int vel_lim, vel_marc;
  std::string progr_km;
  int no_rs;
  std::size_t place_position;
  std::string place;
  orario time;
  std::string rec;
};

// The 34 data rows; the places of the train text come from its station rows.
std::vector<data_row> expected_rows(const std::map<int, std::string>& names) {
  using testing_support::mixed_case;
  const auto station = [&](int chainage) { return names.at(chainage); };
  const auto o = [](orario::kind k, std::string a = "", std::string b = "") {
    return orario{k, std::move(a), std::move(b)};
  };
  return {
      {30, 30, "0.000", 30, 2, station(0), o(orario::dep, "11.30"), ""},
      {120, 115, "", 120, 7, "Dev. U. " + mixed_case(station(0)), o(orario::none), ""},
      {0, 0, "1.500", 0, 2, "Posto di Blocco P103", o(orario::pass, "11.33+"), ""},
      {110, 110, "3.150", 110, 7, "Dev. I. Castelnuovo V.", o(orario::none), ""},
      {0, 0, "4.318", 0, 2, station(4250), o(orario::stop, "11.35", "11.36"), "0.5"},
      {160, 150, "", 140, 7, "Cavalcavia Km.5,112", o(orario::none), ""},
      {0, 0, "6.866", 0, 2, "Bivio Campore", o(orario::pass, "11.38"), ""},
      {0, 0, "8.010", 145, 2, station(8300), o(orario::pass, "11.39"), ""},
      {0, 0, "10.440", 0, 2, "Posto di Blocco P413", o(orario::pass, "11.40+"), ""},
      {130, 130, "", 130, 7, "Cavalcavia Km.12,648", o(orario::none), ""},
      {0, 0, "13.030", 0, 1, "", o(orario::none), ""},
      {0, 0, "------", 0, 2, station(12950), o(orario::pass, "11.42"), "1.0"},
      {0, 0, "0.230", 0, 1, "", o(orario::none), ""},
      {140, 0, "", 140, 7, "Cavalcavia Km.2,159", o(orario::none), ""},
      {0, 0, "3.305", 0, 2, "Posto di Blocco P203", o(orario::none), ""},
      {0, 140, "4.320", 0, 2, mixed_case(station(17100)), o(orario::pass, "11.44"), ""},
      {0, 0, "7.149", 0, 2, station(19950), o(orario::pass, "11.45+"), ""},
      {0, 0, "15.499", 0, 2, station(28350), o(orario::stop, "11.49+", "11.50"), "0.5"},
      {0, 0, "24.579", 0, 2, station(37400), o(orario::pass, "11.56"), ""},
      {0, 125, "31.628", 0, 2, station(44400), o(orario::stop, "11.59+", "12.00"), ""},
      {130, 0, "", 130, 7, "Dev. I. " + mixed_case(station(51200)), o(orario::none), ""},
      {0, 0, "38.384", 0, 2, station(51200), o(orario::stop, "12.05+", "12.06"), "1.0"},
      {140, 140, "", 140, 7, "Km.39,605", o(orario::none), ""},
      {0, 0, "44.941", 0, 2, "Posto di Blocco 433", o(orario::none), ""},
      {0, 135, "45.030", 0, 2, mixed_case(station(57850)), o(orario::pass, "12.11"), ""},
      {105, 105, "", 105, 7, "Dev. I. " + mixed_case(station(63300)), o(orario::none), ""},
      {75, 75, "50.541", 75, 2, station(63300), o(orario::stop, "12.15", "12.16"), "1.5"},
      {135, 120, "", 135, 7, "Cavalcavia Km.51,357", o(orario::none), ""},
      {0, 0, "57.297", 0, 2, station(70150), o(orario::none), ""},
      {0, 130, "62.482", 0, 2, station(75350), o(orario::stop, "12.24+", "12.25"), ""},
      {0, 0, "66.698", 0, 2, station(79500), o(orario::pass, "12.27+"), ""},
      {0, 115, "72.418", 0, 2, "Bivio " + mixed_case(station(85250)), o(orario::pass, "12.31"), ""},
      {75, 75, "73.812", 75, 4, "Cavalcavia Colle Ameno", o(orario::pass, "12.32+"), ""},
      {0, 0, "75.680", 0, 2, station(88400), o(orario::arr, "12.36"), "2.0"},
  };
}

TEST(TrainCard, BodyHasASpacerBeforeEachDataRowExceptRows12And13) {
  const auto lines = card();
  std::size_t number = 17;
  std::vector<std::size_t> data_lines;
  for (int row = 1; row <= 34; ++row) {
    if (row != 12 && row != 13) {
      EXPECT_EQ(line_at(lines, number), spacer_row) << "before data row " << row;
      ++number;
    }
    EXPECT_NE(line_at(lines, number), spacer_row) << "data row " << row;
    data_lines.push_back(number++);
  }
  EXPECT_EQ(number, 83u);
  EXPECT_EQ(data_lines[10], 38u);
  EXPECT_EQ(data_lines[11], 39u);
  EXPECT_EQ(data_lines[12], 40u);
}

TEST(TrainCard, DataRowsHoldEachCellInItsFormatAndPosition) {
  const auto rows = expected_rows(testing_support::station_names());
  const auto lines = card();
  std::size_t number = 16;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const data_row& row = rows[r];
    number += (r == 11 || r == 12) ? 1 : 2;  // no spacer before data rows 12 and 13
    const std::string line = line_at(lines, number);
    SCOPED_TRACE("data row " + std::to_string(r + 1) + ", line " + std::to_string(number));
    ASSERT_EQ(line.size(), 83u);
    EXPECT_EQ(line.substr(2, 5), speed_cell(row.vel_lim));
    EXPECT_EQ(line.substr(8, 5), speed_cell(row.vel_marc));
    EXPECT_EQ(line.substr(14, 10), km_cell(row.progr_km));
    EXPECT_EQ(line.substr(25, 5), speed_cell(row.no_rs));
    EXPECT_EQ(line.substr(31, 28), cell(28, row.place_position, row.place));
    EXPECT_EQ(line.substr(60, 16), orario_cell(row.time));
    EXPECT_EQ(line.substr(77, 5), row.rec.empty() ? std::string(5, ' ') : cell(5, 2, row.rec));
  }
}

TEST(TrainCard, ShortenedEntrySwitchNameAbbreviatesTheFirstStop) {
  // Row 4, "Dev. I. " and a shortened name: every word of it, without its
  // period, begins a word of the first stop's name, in order.
  const std::string place = line_at(card(), 24).substr(31, 28);
  ASSERT_EQ(place.substr(0, 14), "      Dev. I. ");
  const std::string name = testing_support::station_names().at(4250);
  const std::string shortened = testing_support::upper(place.substr(14));
  std::size_t from = 0, start = 0;
  int words = 0;
  while (start < shortened.size()) {
    std::size_t end = shortened.find(' ', start);
    if (end == std::string::npos) end = shortened.size();
    std::string word = shortened.substr(start, end - start);
    if (!word.empty() && word.back() == '.') word.pop_back();
    start = end + 1;
    if (word.empty()) continue;
    std::size_t at = name.find(word, from);
    while (at != std::string::npos && at != 0 && name[at - 1] != ' ') at = name.find(word, at + 1);
    ASSERT_NE(at, std::string::npos) << word << " in " << name;
    from = at + word.size();
    ++words;
  }
  EXPECT_GE(words, 1);
  EXPECT_LT(shortened.find_last_not_of(' ') + 1, name.size());  // shorter than the name
}

}  // namespace
