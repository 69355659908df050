// The scenario notes as the driver gets them: written by Form1::dati_note into
// the program's folder and read back byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "driver/Form1.h"
#include "platform/replace_file.h"
#include "scenari/document_lines.h"
#include "scenari/scenario_texts.h"
#include "support/fake_platform.h"
#include "support/temp_folder.h"

namespace {

constexpr std::size_t line_count = 348;

// Writes the notes for the given identity and returns the file's bytes.
std::string write_notes(const testing_support::temp_folder& folder,
                        const std::string& route = "Brisena_Tarvo",
                        const std::string& train = "47306") {
  return testing_support::written_by(folder, &Form1::dati_note, route + "_" + train + "_note.txt",
                                     route, train);
}

bool is_blank(const std::string& line) {
  return line.find_first_not_of(' ') == std::string::npos;
}

std::size_t indent(const std::string& line) {
  return line.find_first_not_of(' ');
}

class Notes : public ::testing::Test {
 protected:
  void SetUp() override {
    bytes_ = write_notes(folder_);
    lines_ = testing_support::crlf_lines(bytes_);
    ASSERT_EQ(lines_.size(), line_count);
  }
  // Line `n`, counted from 1 as in the file.
  const std::string& line(std::size_t n) const { return lines_.at(n - 1); }

  testing_support::temp_folder folder_;
  std::string bytes_;
  std::vector<std::string> lines_;
};

TEST(NotesName, FollowsTheIdentityWhileTheTrainLineStaysFixed) {
  testing_support::temp_folder folder;
  const auto lines = testing_support::crlf_lines(write_notes(folder, "Other_Route", "12345"));
  EXPECT_EQ(folder.names(), std::set<std::string>{"Other_Route_12345_note.txt"});
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[2], "TRENO : 47306");
}

TEST_F(Notes, FixedHeadingsStandAtTheirLines) {
  const std::map<std::size_t, std::string> headings = {
      {3, "TRENO : 47306"},      {8, "INTRODUZIONE"},
      {51, "LA LINEA SIMULATA"}, {105, "  IMPRECISIONI NELLA LINEA SIMULATA"},
      {171, "LA LINEA REALE"},   {330, " NOTE :"},
  };
  for (const auto& [n, text] : headings) EXPECT_EQ(line(n), text) << "line " << n;

  EXPECT_EQ(line(332).rfind("    (*) ", 0), 0u) << line(332);
  EXPECT_EQ(line(338).rfind("   (**) ", 0), 0u) << line(338);
  // The sign-off and the contact line hold text; the contact is on an example domain.
  EXPECT_FALSE(is_blank(line(346)));
  EXPECT_NE(line(348).find("@example."), std::string::npos) << line(348);
}

TEST_F(Notes, ListOtherScenariosOverLinesFiveAndSix) {
  const std::string prefix = "SCENARI COSTRUITI : ";
  ASSERT_EQ(line(5).rfind(prefix, 0), 0u) << line(5);
  ASSERT_EQ(indent(line(6)), 14u) << line(6);
  std::string rest = line(5).substr(prefix.size());
  rest.erase(rest.find_last_not_of(' ') + 1);
  const std::string list = rest + " " + line(6).substr(14);

  const std::string id = "[A-Za-z]+_[A-Za-z]+_[0-9]+";
  EXPECT_TRUE(std::regex_match(list, std::regex(id + "( , " + id + ")* \\.")))
      << "'" << list << "'";
  EXPECT_EQ(list.find("Brisena_Tarvo_47306"), std::string::npos) << "lists only other scenarios";
}

// Every blank line is one of five kinds, each written with exactly its blanks.
TEST_F(Notes, BlankLinesHaveTheirExactBlanksAtTheirLines) {
  std::map<std::string, std::vector<std::size_t>> found;
  for (std::size_t n = 1; n <= line_count; ++n) {
    if (is_blank(line(n))) found[line(n)].push_back(n);
  }
  const std::string eight(8, ' ');
  const std::map<std::string, std::vector<std::size_t>> exact = {
      {"",
       {2,   4,   7,   49,  50,  52,  89,  104, 142, 146, 163, 166, 167, 168, 169, 170, 172, 173,
        188, 190, 201, 222, 224, 247, 261, 287, 289, 326, 327, 328, 329, 331, 337, 344, 345, 347}},
      {" ", {33, 58, 60, 64, 70, 86, 96}},
      {"  ", {9}},
      {std::string(9, ' '), {78, 245}},
  };
  for (const auto& [kind, where] : exact) {
    EXPECT_EQ(found[kind], where) << "lines of " << kind.size() << " blanks";
  }

  // 23 lines of eight blanks: these thirteen, and ten more that part the
  // paragraphs of the inaccuracies (lines 107 to 165).
  const std::vector<std::size_t> fixed_eight = {102, 103, 106, 175, 199, 221, 229,
                                                238, 259, 286, 297, 317, 319};
  const auto& eights = found[eight];
  EXPECT_EQ(eights.size(), 23u);
  std::size_t between = 0;
  for (const std::size_t n : eights) {
    if (std::find(fixed_eight.begin(), fixed_eight.end(), n) != fixed_eight.end()) continue;
    EXPECT_TRUE(n > 107 && n < 165) << "eight blanks at line " << n;
    ++between;
  }
  EXPECT_EQ(between, 10u);

  EXPECT_EQ(found.size(), 5u) << "a blank line of another length";
}

TEST_F(Notes, TextLinesAreHandBrokenAndSomeEndWithBlanks) {
  std::size_t text = 0, trailing = 0, usual_width = 0, longest = 0;
  for (std::size_t n = 1; n <= line_count; ++n) {
    const std::string& l = line(n);
    longest = std::max(longest, l.size());
    if (is_blank(l)) continue;
    ++text;
    if (l.back() == ' ') ++trailing;
    if (l.size() >= 80 && l.size() <= 97) ++usual_width;
  }
  EXPECT_EQ(text, 279u);
  EXPECT_EQ(trailing, 104u);
  EXPECT_EQ(longest, 105u);
  EXPECT_GT(usual_width * 2, text) << "most lines are 80 to 97 characters long";
}

// Body lines, by range: the indentation that each text line starts with.
TEST_F(Notes, BodyLinesAreIndentedBySection) {
  struct range {
    std::size_t first, last, blanks;
  };
  const std::vector<range> ranges = {
      {10, 10, 2},    // first line of the introduction
      {11, 48, 1},    // introduction
      {53, 100, 1},   // the simulated line
      {101, 101, 8},  // its last line
      {107, 165, 8},  // inaccuracies
      {176, 187, 8}, {191, 198, 8}, {202, 220, 8}, {225, 228, 8}, {231, 237, 8}, {239, 244, 8},
      {248, 258, 8}, {262, 285, 8}, {291, 296, 8}, {298, 316, 8}, {320, 325, 8},  // real line
      {333, 336, 8}, {339, 343, 8},  // footnotes after their first lines
  };
  for (const auto& r : ranges) {
    for (std::size_t n = r.first; n <= r.last; ++n) {
      if (!is_blank(line(n))) {
        EXPECT_EQ(indent(line(n)), r.blanks) << "line " << n;
      }
    }
  }
}

TEST_F(Notes, UseOnlySingleByteAccentsAndDegreeSign) {
  const std::string allowed = "\xE8\xE0\xF2\xF9\xEC\xB0";  // è à ò ù ì °
  std::set<char> accents;
  for (std::size_t n = 1; n <= line_count; ++n) {
    for (const char c : line(n)) {
      const auto u = static_cast<unsigned char>(c);
      if (u >= 0x80) {
        EXPECT_NE(allowed.find(c), std::string::npos) << "byte " << int(u) << " at line " << n;
        accents.insert(c);
      } else {
        EXPECT_TRUE(u >= 0x20 && u < 0x7F && c != '"') << "byte " << int(u) << " at line " << n;
      }
    }
  }
  EXPECT_TRUE(accents.count('\xE8') && accents.count('\xB0')) << "the prose is Italian";
}

TEST_F(Notes, FootnoteMarksStandOnceInTheProseAndHeadTheirNotes) {
  const std::map<std::string, std::vector<std::size_t>> expected = {{"(*)", {185, 332}},
                                                                    {"(**)", {274, 338}}};
  for (const auto& [mark, where] : expected) {
    std::vector<std::size_t> found;
    for (std::size_t n = 1; n <= line_count; ++n) {
      for (auto at = line(n).find(mark); at != std::string::npos; at = line(n).find(mark, at + 1)) {
        found.push_back(n);
      }
    }
    EXPECT_EQ(found, where) << mark;
  }
}

// The names at the ends of the train text's station rows, by chainage.
std::map<int, std::string> station_names() {
  std::map<int, std::string> names;
  for (const std::string_view row : scenari::treno_lines()) {
    if (row == scenari::end_marker) break;
    if (row.rfind("stazione,", 0) != 0) continue;
    const std::size_t comma = row.rfind(',');
    const std::string_view first = row.substr(9, row.find(',', 9) - 9);
    if (comma == std::string_view::npos || comma + 2 > row.size()) continue;
    names[std::stoi(std::string(first))] = std::string(row.substr(comma + 2));
  }
  return names;
}

TEST_F(Notes, HeadingsNameThePlacesAsTheTrainTextDoes) {
  const auto names = station_names();
  ASSERT_EQ(names.size(), 18u) << "station rows of the train text";
  const auto at = [&](int chainage) {
    const auto it = names.find(chainage);
    return it == names.end() ? std::string("<no station at ") + std::to_string(chainage) + ">"
                             : it->second;
  };
  const std::string origin = at(0), first_stop = at(4250), intermediate = at(8300),
                    junction = at(12950), later_junction = at(63300), terminus = at(88400);

  const std::map<std::size_t, std::string> headings = {
      {1, "LINEA :  " + origin + " -- " + terminus},
      {174, "  STAZIONE DI PARTENZA: " + origin + "  ( Km 0+000 )"},
      {189, "  TRATTA " + origin + " - " + first_stop},
      {200, "  " + first_stop + "  ( 4+318 )"},
      {223, "  TRATTA " + first_stop + " -- " + junction + "  ( sulla linea 'Brisena - Ostella')"},
      {230, "        " + intermediate + "  ( 8+010 )"},
      {246, "  " + junction + "  ( 13+030 / 0+230 )"},
      {260, "  TRATTA " + junction + " -- " + later_junction},
      {288, "   TRATTA " + later_junction + " -- " + terminus},
      {290, "   " + later_junction},
      {318, "   " + terminus},
  };
  for (const auto& [n, text] : headings) EXPECT_EQ(line(n), text) << "line " << n;
}

}  // namespace
