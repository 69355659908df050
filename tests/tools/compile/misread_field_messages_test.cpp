// What the compile says when a field is read otherwise than its author meant:
// a comma that ends a comment or a sign's lettering, a blank inside a number,
// a section header or a third comment read as a row, a fill row out of order.
// Each message names the cause at the field where it lies.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/compile/compile_texts.h"

namespace {

using compile_texts::crlf;
using compile_texts::small_line;
using compile_texts::small_train;
using compile_texts::texts_in_folder;
using compile_texts::train_with;

struct misread_case {
  const char* name;
  std::vector<std::string> line;
  std::vector<std::string> train;
  // "L:8:1: error: ..." or "T:...": a diagnostic's first line as printed, its
  // text's path written as L or T; none: the compile says nothing.
  std::vector<std::string> said;
  int status;
};

void PrintTo(const misread_case& c, std::ostream* os) {
  *os << c.name;
}

std::vector<std::string> line_with(const std::vector<std::string>& body) {
  std::vector<std::string> lines = {"[generale]", "lunghezza percorso, 1000", "[curve]",
                                    "pendenza, 0, 0"};
  lines.insert(lines.end(), body.begin(), body.end());
  lines.push_back("[fine]");
  return lines;
}

class MisreadFieldMessages : public testing::TestWithParam<misread_case> {};

TEST_P(MisreadFieldMessages, NameTheCauseAtTheField) {
  const misread_case& c = GetParam();
  const texts_in_folder texts(crlf(c.line), crlf(c.train));
  const auto result = texts.compile();
  if (c.said.empty()) {
    EXPECT_EQ(result.err, "");
  }
  for (const std::string& said : c.said) {
    std::string expected = compile_texts::replace_all(said, "L:", texts.line_path + ":");
    expected = compile_texts::replace_all(expected, "T:", texts.train_path + ":");
    EXPECT_NE(result.err.find(expected + "\n"), std::string::npos) << expected << "\nin\n"
                                                                   << result.err;
  }
  EXPECT_EQ(result.status, c.status);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MisreadFieldMessages,
    testing::Values(
        // The comment after the gradient's last value is the first of the two
        // skipped: the comment of line 8, the third, is read as a curve row,
        // whose first value is the keyword of line 9.
        misread_case{"ThirdCommentAfterACommentBehindAValue",
                     line_with({"pendenza, 500, -4   - the climb", "- a comment line",
                                "- the curva of the bridge", "cartello_indicatore, 200, (A)"}),
                     small_train,
                     {"L:7:1: error: 25: row 'curva' is missing values: it reads 2 values, and its "
                      "line holds 0; the reader went on to line 8 for the rest; line 7 was read "
                      "as a row because the comment on line 5, after the last value of the row "
                      "there, counts as the first of the two comment fields skipped before a "
                      "keyword (the second is on line 6): the third is read as a keyword"},
                     1},
        // The same comment block read whole: the third comment is a gradient row.
        misread_case{"ThirdCommentReadAsAWholeRow",
                     line_with({"pendenza, 500, -4   - the climb", "- a comment line",
                                "- the pendenza of the bridge", "600, 2"}),
                     small_train,
                     {"L:7:1: warning: more comment fields (holding '-') in a row than are "
                      "skipped: this one holds the keyword 'pendenza' and is read as that row; "
                      "line 7 was read as a row because the comment on line 5, after the last "
                      "value of the row there, counts as the first of the two comment fields "
                      "skipped before a keyword (the second is on line 6): the third is read as "
                      "a keyword [extra-comment-field]"},
                     0},
        misread_case{"CommaInABoardsLettering",
                     line_with({"cartello_indicatore, 200, (CORVARA)(2, 3)"}),
                     small_train,
                     {"L:5:40: warning: a sign's lettering cannot hold a comma: it ends at "
                      "'(CORVARA)(2', and '3)' after the comma is read as a keyword, matches none "
                      "and is skipped [unknown-keyword]"},
                     0},
        misread_case{"CommaInAComment",
                     line_with({"- start, length"}),
                     small_train,
                     {"L:5:10: warning: a comment ends at a comma: '- start' is the comment, and "
                      "'length' after the comma is read as a keyword, matches none and is "
                      "skipped [unknown-keyword]"},
                     0},
        // A comma after a number is a field's end, not a comment's: no cause is named.
        misread_case{"NumberThenAnUnknownField",
                     line_with({"pendenza, 500, -4, climb"}),
                     small_train,
                     {"L:5:20: warning: keyword 'climb' matches no keyword: the row is skipped "
                      "[unknown-keyword]"},
                     0},
        // [velocita] reads the next two fields: 'velocita' is no number.
        misread_case{"SectionHeaderHoldingAKeywordStopsTheReading",
                     small_line,
                     train_with({"[velocita]", "velocita, 0, 100"}),
                     {"T:2:1: error: 25: row 'velocita' is missing values: it reads 2 values, and "
                      "its line holds 0; the reader went on to line 3 for the rest; this section "
                      "header holds the keyword 'velocita' and is read as that row"},
                     1},
        misread_case{"SectionHeaderHoldingAKeywordReadWhole",
                     small_line,
                     train_with({"[aderenza], 0, 100"}),
                     {"T:2:1: warning: this section header holds the keyword 'aderenza' and is "
                      "read as that row, taking the 2 fields after it as its values; keep keyword "
                      "strings out of section headers [section-header-row]"},
                     0},
        misread_case{"BlankInANumber",
                     small_line,
                     train_with({"velocita, 30 000, 100"}),
                     {"T:2:11: error: a blank ends a number: '30 000' was read as 30, and '000' "
                      "as the next field; write the number without blanks [blank-in-number]"},
                     1},
        // The clock's three numbers are separated by blanks on purpose.
        misread_case{
            "TheClocksBlanksAreMeant", small_line, train_with({"orologio, 11 29 30"}), {}, 0}),
    [](const testing::TestParamInfo<misread_case>& info) { return std::string(info.param.name); });

// The number's own diagnostic comes before what its split did to the fields
// after it (here the speed 100, left over, is read as a keyword).
TEST(MisreadFieldMessages, TheBlankIsNamedBeforeItsConsequences) {
  const texts_in_folder texts(crlf(small_line), crlf(train_with({"velocita, 30 000, 100"})));
  const std::string err = texts.compile().err;
  const std::size_t blank = err.find("[blank-in-number]");
  const std::size_t stray = err.find("[stray-number]");
  ASSERT_NE(blank, std::string::npos) << err;
  ASSERT_NE(stray, std::string::npos) << err;
  EXPECT_LT(blank, stray) << err;
}

// What the out-of-order warning says is what the compiled cells hold.
TEST(MisreadFieldMessages, TheOutOfOrderFillSaysWhereEachValueHolds) {
  // Gradients: 4 from 500 m, then a row at 200 m: the fill has reached cell
  // 10, which gets the 4; the -2 holds from cell 11 on.
  const texts_in_folder texts(crlf(line_with({"pendenza, 500, 4", "pendenza, 200, -2"})),
                              crlf(small_train));
  const auto result = texts.compile();
  EXPECT_NE(result.err.find("gradient row at 200 m comes after one at 500 m: the fill follows "
                            "the rows' order and has already reached cell 10 (500 m), so the 4 "
                            "‰ of line 5 holds in that cell only, and this row's -2 ‰ "
                            "holds from cell 11 (550 m), not from 200 m, up to the next "
                            "row's chainage or the end of the line [fill-out-of-order]"),
            std::string::npos)
      << result.err;
  const std::string cells = texts.compiled().at("R_1.dat");
  // Each cell is 15 bytes, its gradient the 14th, kept plus 100.
  const auto gradient = [&](std::size_t cell) {
    return static_cast<int>(static_cast<unsigned char>(cells.at(cell * 15 + 13))) - 100;
  };
  EXPECT_EQ(gradient(4), 0);  // 200 m: not the -2 the row says
  EXPECT_EQ(gradient(9), 0);
  EXPECT_EQ(gradient(10), 4);
  EXPECT_EQ(gradient(11), -2);
  EXPECT_EQ(gradient(100), -2);

  // Line speeds: a row at 0 m after one at 2000 m writes no cell, so the
  // 80 km/h holds in none; the 60 km/h holds from cell 40.
  const texts_in_folder speeds(crlf(small_line),
                               crlf(train_with({"aderenza, 0, 100", "velocita, 0, 100",
                                                "velocita, 2000, 80", "velocita, 0, 60"})));
  const auto sped = speeds.compile();
  EXPECT_NE(sped.err.find("line speed row at 0 m comes after one at 2000 m: the fill follows the "
                          "rows' order and has already reached cell 40 (2000 m), so the 80 km/h "
                          "of line 4 holds in no cell, and this row's 60 km/h holds from cell 40 "
                          "(2000 m), not from 0 m, up to the next row's chainage or the end of "
                          "the line [fill-out-of-order]"),
            std::string::npos)
      << sped.err;
  const std::string speed_cells = speeds.compiled().at("R_1.dat");
  // The line speed, the 13th byte, in steps of 5 km/h.
  const auto speed = [&](std::size_t cell) {
    return static_cast<int>(static_cast<unsigned char>(speed_cells.at(cell * 15 + 12))) * 5;
  };
  EXPECT_EQ(speed(39), 100);
  EXPECT_EQ(speed(40), 60);
  EXPECT_EQ(speed(100), 60);
}

}  // namespace
