// The line description text that dati_linea writes: its form, its sections,
// the rows that are fixed, and the bounds that the authored rows keep.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "driver/Form1.h"
#include "platform/replace_file.h"
#include "scenari/document_lines.h"
#include "scenari/scenario_texts.h"
#include "support/fake_platform.h"
#include "support/temp_folder.h"

namespace {

const std::string file_name = "Brisena_Tarvo_linea.txt";

std::string write_in(const testing_support::temp_folder& folder) {
  return testing_support::written_by(folder, &Form1::dati_linea, file_name);
}

struct written_text {
  std::string bytes;
  std::vector<std::string> lines;  // without their line ends; lines[0] is line 1
};

// Written once for the whole suite: the content does not change between runs.
const written_text& text() {
  static const written_text t = [] {
    testing_support::temp_folder folder;
    written_text w{write_in(folder), {}};
    std::size_t from = 0;
    for (std::size_t end; (end = w.bytes.find("\r\n", from)) != std::string::npos; from = end + 2) {
      w.lines.push_back(w.bytes.substr(from, end - from));
    }
    w.lines.push_back(w.bytes.substr(from));  // what follows the last CR LF: must be nothing
    return w;
  }();
  return t;
}

const std::string& line(int number) {
  return text().lines.at(static_cast<std::size_t>(number - 1));
}

// Lines first..last, inclusive.
std::vector<std::string> lines(int first, int last) {
  return std::vector<std::string>(text().lines.begin() + (first - 1), text().lines.begin() + last);
}

std::vector<long> numbers_of(const std::string& row) {
  std::vector<long> out;
  static const std::regex number("-?[0-9]+");
  for (std::sregex_iterator it(row.begin(), row.end(), number), end; it != end; ++it) {
    out.push_back(std::stol(it->str()));
  }
  return out;
}

struct curve {
  std::string keyword;
  long start, length;
};

std::vector<curve> curves() {
  std::vector<curve> out;
  for (const auto& row : lines(11, 149)) {
    const auto comma = row.find(',');
    const auto n = numbers_of(row.substr(comma));
    out.push_back({row.substr(0, comma), n.at(0), n.at(1)});
  }
  return out;
}

// The groups of a sign's lettering: "(A)(B)" gives {"A", "B"}; empty when
// the lettering is not made of whole groups.
std::vector<std::string> groups_of(const std::string& lettering) {
  std::vector<std::string> out;
  std::size_t at = 0;
  while (at < lettering.size()) {
    const auto close = lettering.find(')', at);
    if (lettering[at] != '(' || close == std::string::npos) return {};
    const std::string inner = lettering.substr(at + 1, close - at - 1);
    if (inner.find('(') != std::string::npos) return {};
    out.push_back(inner);
    at = close + 1;
  }
  return out;
}

TEST(LineText, SectionsStandAtTheirLinesWithTheirRowKeywords) {
  const struct {
    int header_line;
    const char* header;
    int last_row_line;
    const char* row_start;
  } sections[] = {
      {10, "[curve]", 149, "curva"},
      {150, "[pendenze]", 198, "pendenza,  "},
      {199, "[montagne]", 226, "montagna,   "},
      {227, "[cartelli]", 243, "indicatori_vmax,  "},
      {244, "[indicazioni]", 301, "cartello_indicatore,  "},
  };
  EXPECT_EQ(line(1), "[generale]");
  EXPECT_EQ(line(302), "[fine]");
  for (const auto& s : sections) {
    EXPECT_EQ(line(s.header_line), s.header);
    for (int n = s.header_line + 1; n <= s.last_row_line; ++n) {
      EXPECT_EQ(line(n).rfind(s.row_start, 0), 0u) << "line " << n << ": " << line(n);
    }
  }
  // No other line is a section header.
  int headers = 0;
  for (const auto& l : lines(1, 302)) headers += !l.empty() && l.front() == '[';
  EXPECT_EQ(headers, 7);

  std::map<std::string, int> per_keyword;
  for (const auto& c : curves()) ++per_keyword[c.keyword];
  const std::map<std::string, int> expected = {
      {"curvas1", 14}, {"curvad1", 15}, {"curvas2", 27}, {"curvad2", 26}, {"curvas3", 23},
      {"curvad3", 12}, {"curvas4", 8},  {"curvad4", 8},  {"curvas5", 2},  {"curvad5", 4}};
  EXPECT_EQ(per_keyword, expected);
}

TEST(LineText, FixedLinesStandAtTheirLineNumbers) {
  const std::pair<int, const char*> fixed[] = {
      {1, "[generale]"},
      {2, "lunghezza percorso,    91000"},
      {3, "progressiva chilometrica uno,    12800,    -12800,    0"},
      {4, "progressiva chilometrica due,    0,    0,    0"},
      {5, "progressiva chilometrica tre,    0,    0,    0"},
      {6, "sfondo uno,    0"},
      {7, "sfondo due,    1"},
      {8, "sfondo tre,    60000"},
      {9, "ripetizione segnali 4 codici,    1250,    12150"},
      {11, "curvad2,  1150,  250"},
      {19, "curvas2,  2450,  50"},
      {20, "curvas3,  2500,  50"},
      {21, "curvas4,  2550,  50"},
      {22, "curvas5,  2600,  150"},
      {23, "curvas4,  2750,  100"},
      {24, "curvas3,  2850,  50"},
      {25, "curvas2,  2900,  100"},
      {132, "curvas3,  74700,  1500"},
      {149, "curvas4,  89150,  600"},
      {151, "pendenza,   0,    0"},
      {196, "pendenza,  85150,   8"},
      {197, "pendenza,  87350,   6"},
      {198, "pendenza,  89000,   12"},
      {228, "indicatori_vmax,  1250,  110,  120,  125,  0,  110,  120,  125,  0"},
      {229, "indicatori_vmax,  2500,  100,  110,  120,  0,  100,  110,  120,  0"},
      {230, "indicatori_vmax,  5050,  140,  160,  160,  0,  140,  160,  160,  0"},
      {231, "indicatori_vmax,  11850,  120,  130,  130,  0,  ,  ,  ,  0"},
      {232, "indicatori_vmax,  14850,  140,  140,  140,  0,  ,  ,  ,  0"},
      {233, "indicatori_vmax,  17100,  140,  150,  150,  0,  ,  ,  ,  0"},
      {234, "indicatori_vmax,  49800,  110,  130,  130,  0,  ,  ,  ,  0"},
      {235, "indicatori_vmax,  52400,  140,  150,  150,  0,  ,  ,  ,  0"},
      {236, "indicatori_vmax,  61350,  100,  105,  105,  2,  ,  ,  ,  0"},
      {237, "indicatori_vmax,  61600,  100,  105,  105,  1,  ,  ,  ,  0"},
      {238, "indicatori_vmax,  61800,  100,  105,  105,  0,  ,  ,  ,  0"},
      {239, "indicatori_vmax,  64150,  125,  135,  135,  0,  ,  ,  ,  0"},
      {240, "indicatori_vmax,  85350,  65,  75,  75,  2,  65,  75,  75,  2"},
      {241, "indicatori_vmax,  85550,  65,  75,  75,  1,  65,  75,  75,  1"},
      {242, "indicatori_vmax,  85800,  65,  75,  75,  0,  65,  75,  75,  0"},
      {243, "indicatori_vmax,  88950,  90,  95,  95,  0,  ,  ,  ,  0"},
      {280,
       "cartello_indicatore,  57700,   (SEGNALE MUNITO  )(DI LETTERA 'A'  )(LUMIN. E TAB 'NS)"},
  };
  for (const auto& [number, expected] : fixed)
    EXPECT_EQ(line(number), expected) << "line " << number;

  // The 27 mountain-side rows, in order, as start-end and kind.
  const std::string spans =
      "950-1000 2; 1750-1800 2; 2100-2250 12; 4700-4750 2; 5100-5200 2; 5700-5800 2; "
      "7650-7750 2; 11250-11300 2; 12600-12650 2; 13350-13400 2; 14900-15000 2; "
      "21900-22050 2; 27850-27900 2; 51800-51850 2; 60650-60700 2; 62150-62200 2; "
      "62750-62800 2; 63850-63900 12; 64150-64200 12; 65350-65450 12; 69200-69250 2; "
      "84200-84250 12; 84900-84950 12; 85300-85350 2; 86600-86650 12; 87200-87750 12; "
      "89100-90100 11";
  std::istringstream in(spans);
  int number = 200;
  for (std::string start, end, kind;
       std::getline(in, start, '-') && std::getline(in, end, ' ') && std::getline(in, kind, ';');) {
    if (start.front() == ' ') start.erase(0, 1);
    EXPECT_EQ(line(number), "montagna,   " + start + ",  " + end + ",  " + kind) << number;
    ++number;
  }
  EXPECT_EQ(number, 227);
}

TEST(LineText, FixedRowsStandInTheirSection) {
  auto in_lines = [](const std::string& row, int first, int last) {
    const auto range = lines(first, last);
    return std::find(range.begin(), range.end(), row) != range.end();
  };
  const char* curve_rows[] = {"curvad1,  30000,  100", "curvas1,  37500,  300",
                              "curvad2,  66400,  100", "curvas2,  73900,  400"};
  for (const char* row : curve_rows) EXPECT_TRUE(in_lines(row, 11, 149)) << row;
  const char* gradient_rows[] = {"pendenza,  1050,   -3", "pendenza,  1250,   -6"};
  for (const char* row : gradient_rows) EXPECT_TRUE(in_lines(row, 151, 198)) << row;

  std::vector<std::string> boards = {
      "(SEGNALE DI     )(AVVISO INIZIO  )(ZONA CODIFICATA) 1150",
      "(SEGNALE DI )(INIZIO ZONA)(CODIFICATA ) 1200",
      "(SEGNALE DI     )(AVVISO FINE    )(ZONA CODIFICATA) 11100",
      "(SEGNALE DI)(FINE ZONA )(CODIFICATA) 12050",
      "(  SEGNALE  )( PERMISSIVO)( Km 1+592  ) 1550",
      "(SEGNALE   )(PERMISSIVO)(Km 10+440 ) 10350",
      "(SEGNALE   )(PERMISSIVO)(Km 3+305  ) 16050",
      "(   I  )(   I  )( /   /) 15800",
      "(   I)(   I)(   /) 16000",
      "(  I)(  I)(  I) 17150",
      "(  LINEA A    )(BINARIO UNICO) 63750",
      "(SCAMBIO DI  )(DIRAMAZIONE )(RACCORDO IND) 64000",
      "(CAVALCAVIA)(AUTOSTRADA) 14900",
      "(CAVALCAVIA)(AUTOSTRADA) 21850",
  };
  for (const char* at : {"9650", "11250", "12550", "13300", "60600", "62700", "63800", "75800",
                         "81700", "85250", "86550"}) {
    boards.push_back(std::string("(CAVALCAVIA) ") + at);
  }
  const char* crossings =
      "14400 1+609 ; 20550 7+782 ; 23900 11+108; 24650 11+899; 25450 12+655; 28700 15+943; "
      "30100 17+335; 30700 17+924; 37250 24+458; 38050 25+270; 39500 26+713; 40500 27+721; "
      "43900 31+117; 44750 31+972; 51450 38+669; 51650 38+869; 74100 61+321; 75750 62+987; "
      "77000 64+219; 77700 64+934; 79450 66+691; 80850 68+078; 81650 68+905";
  std::istringstream in(crossings);
  int crossing_count = 0;
  for (std::string at, km; in >> at && std::getline(in, km, ';'); ++crossing_count) {
    boards.push_back("(PASSAGGIO)(A LIVELLO)(Km" + km + ") " + at);
  }
  EXPECT_EQ(crossing_count, 23);
  for (const auto& board : boards) {
    const auto blank = board.rfind(' ');
    const std::string row =
        "cartello_indicatore,  " + board.substr(blank + 1) + ",   " + board.substr(0, blank);
    EXPECT_TRUE(in_lines(row, 245, 301)) << row;
  }
}

TEST(LineText, CurvesKeepTheirBoundsGapsAndContiguity) {
  const auto c = curves();
  ASSERT_EQ(c.size(), 139u);
  EXPECT_EQ(c.front().start, 1150);
  EXPECT_EQ(c.back().start, 89150);
  long total = 0;
  int contiguous = 0;
  std::vector<std::pair<std::string, std::string>> longest_straights;
  for (std::size_t i = 0; i < c.size(); ++i) {
    EXPECT_TRUE(c[i].length >= 50 && c[i].length <= 1500 && c[i].length % 50 == 0) << i;
    EXPECT_EQ(c[i].start % 50, 0) << i;
    EXPECT_TRUE(c[i].length < 1500 || i == 121) << "only line 132 is 1500 m long";
    total += c[i].length;
    if (i == 0) continue;
    const long straight = c[i].start - (c[i - 1].start + c[i - 1].length);
    EXPECT_GT(c[i].start, c[i - 1].start) << i;
    EXPECT_GE(straight, 0) << "curves overlap at line " << i + 11;
    EXPECT_LE(straight, 7400) << i;
    contiguous += straight == 0;
    if (straight == 7400) {
      longest_straights.emplace_back(c[i - 1].keyword + " " + std::to_string(c[i - 1].start),
                                     c[i].keyword + " " + std::to_string(c[i].start));
    }
  }
  EXPECT_EQ(total, 30400);
  EXPECT_EQ(contiguous, 105);
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"curvad1 30000", "curvas1 37500"}, {"curvad2 66400", "curvas2 73900"}};
  EXPECT_EQ(longest_straights, expected);
  // The straights at both ends of the route are shorter too.
  EXPECT_LT(c.front().start, 7400);
  EXPECT_LT(91000 - (c.back().start + c.back().length), 7400);
}

TEST(LineText, GradientsRiseInChainageAndGoNegativeOnlyWhereNamed) {
  static const std::regex row("pendenza,  (0|[1-9][0-9]*),   (-?[0-9]+)");
  std::vector<std::pair<long, long>> negatives;
  long previous = -1;
  for (int n = 152; n <= 198; ++n) {  // line 151 is spaced apart and checked as a fixed line
    std::smatch m;
    ASSERT_TRUE(std::regex_match(line(n), m, row)) << line(n);
    const long at = std::stol(m[1]), value = std::stol(m[2]);
    EXPECT_GT(at, previous) << line(n);
    EXPECT_EQ(at % 50, 0) << line(n);
    EXPECT_TRUE(value >= -6 && value <= 12) << line(n);
    EXPECT_TRUE(value != 12 || n == 198) << "12 is the highest, at 89000 only";
    EXPECT_TRUE(value != -6 || at == 1250) << "-6 is the lowest, at 1250 only";
    if (value < 0) negatives.emplace_back(at, value);
    previous = at;
  }
  const std::vector<std::pair<long, long>> expected = {{1050, -3}, {1250, -6}, {3150, -4},
                                                       {4750, -2}, {4950, -4}, {7350, -3}};
  EXPECT_EQ(negatives, expected);
}

TEST(LineText, BoardsRiseInChainageWithWholeGroupsOfLettering) {
  static const std::regex row("cartello_indicatore,  ([1-9][0-9]*),   (\\(.*\\))");
  std::map<std::size_t, int> rows_per_group_count;
  std::map<long, std::vector<std::string>> by_chainage;
  long previous = 0;
  for (int n = 245; n <= 301; ++n) {
    std::smatch m;
    ASSERT_TRUE(std::regex_match(line(n), m, row)) << line(n);
    const long at = std::stol(m[1]);
    EXPECT_GT(at, previous) << line(n);
    EXPECT_EQ(at % 50, 0) << line(n);
    previous = at;
    const auto groups = groups_of(m[2]);
    ASSERT_FALSE(groups.empty()) << line(n);
    ++rows_per_group_count[groups.size()];
    for (const auto& g : groups) {
      EXPECT_TRUE(g.size() >= 3 && g.size() <= 16) << line(n);
      EXPECT_EQ(g.find(','), std::string::npos) << line(n);
    }
    by_chainage[at] = groups;
  }
  EXPECT_EQ(line(245).rfind("cartello_indicatore,  900,", 0), 0u);
  EXPECT_EQ(line(301).rfind("cartello_indicatore,  87150,", 0), 0u);
  EXPECT_EQ(rows_per_group_count, (std::map<std::size_t, int>{{1, 11}, {2, 4}, {3, 42}}));

  // The named boards: group count, the groups that are fixed, and widths.
  const struct {
    long at;
    std::size_t groups;
    const char* first;
    const char* second;  // empty when free
  } named[] = {
      {900, 3, " CAVALCAVIA", ""},
      {2050, 3, " CAVALCAVIA   ", ""},
      {5100, 2, "  CAVALCAVIA   ", ""},
      {83200, 3, "EX. BIVIO PER", ""},
      {84150, 3, " CAVALCAVIA   ", "STRADA STATALE"},
      {84800, 3, "AFFIANCAMENTO", ""},
      {85200, 3, " SCAMBIO DI  ", "CONFLUENZA DA"},
      {87150, 3, " INIZIO ", "VIADOTTO"},
  };
  for (const auto& b : named) {
    const auto& g = by_chainage[b.at];
    ASSERT_EQ(g.size(), b.groups) << b.at;
    EXPECT_EQ(g[0], b.first) << b.at;
    if (*b.second) {
      EXPECT_EQ(g[1], b.second) << b.at;
    }
  }
  const auto& former_junction = by_chainage[83200];
  EXPECT_EQ(former_junction[1].back(), '-');
  EXPECT_EQ(former_junction[2].rfind(" -", 0), 0u);
  const auto& trunk_road = by_chainage[84150][2];
  EXPECT_EQ(trunk_road.size(), 14u);
  EXPECT_NE(trunk_road.find("N\xB0"), std::string::npos) << trunk_road;
}

TEST(LineText, PlainPrintableLinesWithOneDegreeSignAndLine280Longest) {
  std::vector<std::pair<int, char>> non_ascii;
  for (int n = 1; n <= 302; ++n) {
    const std::string& l = line(n);
    ASSERT_FALSE(l.empty()) << n;
    EXPECT_NE(l.front(), ' ') << n;
    EXPECT_NE(l.back(), ' ') << n;
    EXPECT_EQ(l.find_first_of("\t\""), std::string::npos) << n;
    EXPECT_TRUE(l.size() < 85 || n == 280) << n << ": " << l.size();
    for (char ch : l) {
      const auto byte = static_cast<unsigned char>(ch);
      if (byte < 0x20 || byte > 0x7E) non_ascii.emplace_back(n, ch);
    }
  }
  EXPECT_EQ(line(280).size(), 85u);
  EXPECT_EQ(non_ascii, (std::vector<std::pair<int, char>>{{296, '\xB0'}}));
}

}  // namespace
