// Faults an author meets while writing a route, each with a small text: the
// diagnostics compile gives (derived by hand from the rows), the author's
// texts left alone, and the installer's own record and bytes for the same
// texts, which the diagnostics never change.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "platform/replace_file.h"
#include "scenario_tool/compile/compile_core.h"
#include "tools/compile/compile_texts.h"

namespace {

using namespace compile_texts;

// One faulty text, the exact diagnostics it gives and the exit status.
struct faulty_case {
  const char* name;
  std::vector<std::string> line;
  std::vector<std::string> train;
  std::string diagnostics;  // the error stream, with the texts' paths as "L" and "T"
  int status;
  // Whether the three compiled files are written (none when the run stops);
  // not checked where none is given.
  std::optional<bool> writes_files;
  std::vector<std::string> options = {};  // given to compile after the texts
};

void PrintTo(const faulty_case& c, std::ostream* os) {
  *os << c.name;
}

class ToolCompileDiagnostics : public testing::TestWithParam<faulty_case> {};

TEST_P(ToolCompileDiagnostics, GivesTheDiagnosticsDerivedFromTheRows) {
  const faulty_case& c = GetParam();
  const texts_in_folder texts(crlf(c.line), crlf(c.train));
  const tool_result result = texts.compile(c.options);
  std::string expected = replace_all(c.diagnostics, "L:", texts.line_path + ":");
  expected = replace_all(expected, "T:", texts.train_path + ":");
  EXPECT_EQ(result.err, expected);
  EXPECT_EQ(result.status, c.status);
  // One line says where the files went, when they were written.
  const std::string wrote =
      "wrote R_linea.dat, R_1.sim and R_1.dat into " + (texts.folder / "out").string() + "\n";
  const bool written = texts.compiled().size() == 3u;
  EXPECT_EQ(result.out, written ? wrote : "");
  if (c.writes_files) {
    EXPECT_EQ(written, *c.writes_files);
  }
  // The author's texts stay as they were.
  EXPECT_EQ(platform::read_file(texts.line_path), crlf(c.line));
  EXPECT_EQ(platform::read_file(texts.train_path), crlf(c.train));
}

// The tool's model records exactly what the installer's does: the same last
// error and the same compiled bytes, whatever the warning options.
TEST_P(ToolCompileDiagnostics, RecordsWhatTheInstallerRecords) {
  const faulty_case& c = GetParam();
  const texts_in_folder texts(crlf(c.line), crlf(c.train));
  texts.compile(c.options);
  const installer_compile installer =
      compile_as_installer(crlf(c.line), crlf(c.train), "R", "1", 1);
  if (c.writes_files) {
    EXPECT_EQ(installer.stopped, !*c.writes_files);
  }
  EXPECT_EQ(texts.compiled(), installer.files);

  scenario_tool::compile_request request;
  request.line = scenario_tool::source_text("L", crlf(c.line));
  request.train = scenario_tool::source_text("T", crlf(c.train));
  request.route_id = "R";
  request.train_number = "1";
  const scenario_tool::compile_result tool = scenario_tool::compile_texts(request);
  EXPECT_EQ(tool.stopped, installer.stopped);
  EXPECT_EQ(tool.model->error_code, installer.error_code);
  EXPECT_EQ(tool.model->error_position, installer.error_position);
}

const faulty_case faulty_cases[] = {
    {"KeywordTypo",
     {"[generale]", "lunghezza percorso, 1000", "[curve]", "pendnza, 0, 0", "[fine]"},
     small_train,
     "L:4:1: error: keyword 'pendnza' matches no keyword, and the row is skipped; did you mean "
     "'pendenza'? [keyword-typo]\n"
     "    pendnza, 0, 0\n"
     "    ^\n"
     "1 error, 0 warnings\n",
     1,
     true},
    {"OneFieldTooMany",
     {"[generale]", "lunghezza percorso, 1000", "[curve]", "pendenza, 0, 0, 5", "[fine]"},
     small_train,
     "L:4:17: warning: a number stands where a keyword is expected: the row before has more "
     "fields than its keyword reads, and this field is skipped [stray-number]\n"
     "    pendenza, 0, 0, 5\n"
     "                    ^\n"
     "0 errors, 1 warning\n",
     0,
     true},
    {"BadNumber", small_line, train_with({"aderenza, 0, 100", "velocita, 1x0, 100"}),
     "T:3:11: error: 25: a value is not a number: '1x0'\n"
     "    velocita, 1x0, 100\n"
     "              ^\n"
     "1 error, 0 warnings\n",
     1, true},
    {"TwoFaultsInOneText", small_line,
     train_with({"velocita, 130, 100", "segnal, 500, 1, 1,0,0,0, 0,0,0,0, 0"}),
     "T:2:11: warning: chainage 130 m is not a multiple of 50: the row lands in cell 3, as a row "
     "at 150 m does [chainage-rounded]\n"
     "    velocita, 130, 100\n"
     "              ^\n"
     "T:3:1: error: keyword 'segnal' matches no keyword, and the row is skipped; did you mean "
     "'segnale'? [keyword-typo]\n"
     "    segnal, 500, 1, 1,0,0,0, 0,0,0,0, 0\n"
     "    ^\n"
     "1 error, 1 warning\n",
     1, true},
    // The signal at 1750 m lies in cell 36, where the slowdown at 2950 m puts its
    // warning point ((2950 - 1200) / 50 + 1).
    {"SlowdownWarningCellOccupied",
     {"[generale]", "lunghezza percorso, 5000", "[curve]", "pendenza, 0, 0", "[fine]"},
     train_with({"segnale, 1750, 1, 1,0,0,0, 0,0,0,0, 0", "rallentamento, 2950, 60, 100, 0, 0, 0"}),
     "T:3:16: error: 17: slowdown warning point on a cell that is not free: its cell, 36 (1800 "
     "m), holds a signal (line 2) (at 2950 m)\n"
     "    rallentamento, 2950, 60, 100, 0, 0, 0\n"
     "                   ^\n"
     "1 error, 0 warnings\n",
     1,
     true},
    // Signals in cells 14, 15 and 16 fill the first window ahead of the start in cell 21.
    {"WalkFindsNoRoomAheadOfASlowdown", small_line,
     train_with({"segnale, 650, 1, 1,0,0,0, 0,0,0,0, 0", "segnale, 700, 1, 1,0,0,0, 0,0,0,0, 0",
                 "segnale, 750, 1, 1,0,0,0, 0,0,0,0, 0", "rallentamento, 1000, 60, 100, 0, 0, 0"}),
     "T:5:16: error: 12: no room for a speed point ahead of a slowdown start: the window 250 to "
     "350 m ahead of the start: cell 16 (800 m) holds a signal (line 4), cell 15 (750 m) holds a "
     "signal (line 3) and cell 14 (700 m) holds a signal (line 2) (at 1050 m)\n"
     "    rallentamento, 1000, 60, 100, 0, 0, 0\n"
     "                   ^\n"
     "1 error, 0 warnings\n",
     1, true},
    // (7500 + 800) / 50 = 166 is beyond the last cell, 160.
    {"StationBeyondTheLine", small_line,
     train_with({"stazione, 7500, 12, 200, 0,0,0, 0,0,0, 0,0,0, 1, 10,0,0, FAR"}),
     "T:2:11: error: 15: a row lies beyond the end of the line: the line ends at 1000 m and the "
     "7000 m of run-out that the compile adds after it at 8000 m (cell 160): a station may lie at "
     "7200 m at most (at 7500 m)\n"
     "    stazione, 7500, 12, 200, 0,0,0, 0,0,0, 0,0,0, 1, 10,0,0, FAR\n"
     "              ^\n"
     "1 error, 0 warnings\n",
     1, true},
    // A sign at 0 m goes to cell 1, the header cell.
    {"SignInTheHeaderCell",
     {"[generale]", "lunghezza percorso, 1000", "[cartelli]", "cartello_indicatore, 0, STAZIONE",
      "[fine]"},
     small_train,
     "L:4:22: error: 1250: header slot taken: cell 1, reserved for the format tag, already holds "
     "this row's object; the run stops and writes no file\n"
     "    cartello_indicatore, 0, STAZIONE\n"
     "                         ^\n"
     "1 error, 0 warnings\n",
     1,
     false},
    // Start in cell 8, cells 3 and 2 hold signals: the walk's window point goes to cell 1.
    {"WalkPointInTheHeaderCell", small_line,
     train_with({"segnale, 50, 1, 1,0,0,0, 0,0,0,0, 0", "segnale, 100, 1, 1,0,0,0, 0,0,0,0, 0",
                 "rallentamento, 350, 60, 100, 0, 0, 0"}),
     "T:4:16: error: 1250: header slot taken: cell 1, reserved for the format tag, already holds "
     "a speed point placed for this row; the run stops and writes no file\n"
     "    rallentamento, 350, 60, 100, 0, 0, 0\n"
     "                   ^\n"
     "1 error, 0 warnings\n",
     1, false},
    // A signal at 0 m in cell 1: value s1 * 10 + d1 = 0, value2 s2 * 10 + d2 = 10.
    {"SignalInTheCheckCodeSlot", small_line,
     train_with({"segnale, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0"}),
     "T:2:10: error: 1251: header slot taken: cell 1, reserved for the check code, already holds "
     "this row's object; the run stops and writes no file\n"
     "    segnale, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0\n"
     "             ^\n"
     "1 error, 0 warnings\n",
     1, false},
    {"ChainageReferenceNotAMultipleOf50",
     {"[generale]", "lunghezza percorso, 1000", "progressiva chilometrica uno, 12830, 0, 0",
      "[curve]"},
     small_train,
     "L:3:31: error: 2: a kilometric chainage reference is not a multiple of 50 m\n"
     "    progressiva chilometrica uno, 12830, 0, 0\n"
     "                                  ^\n"
     "1 error, 0 warnings\n",
     1,
     true},
    {"LineLengthTypo",
     {"[generale]", "lunghezza percorsi, 1000", "[curve]", "pendenza, 0, 0"},
     small_train,
     "L:2:1: error: keyword 'lunghezza percorsi' matches no keyword, and the row is skipped; did "
     "you mean 'lunghezza percorso'? [keyword-typo]\n"
     "    lunghezza percorsi, 1000\n"
     "    ^\n"
     "L:3:1: error: 25: the description texts could not be read: the line description gives no "
     "line length\n"
     "    [curve]\n"
     "    ^\n"
     "L:3:1: note: the reading of this text stopped here: line 4 was not read (1 gradient row)\n"
     "    [curve]\n"
     "    ^\n"
     "T: note: the reading stopped in the line text, so this text was not read at all (1 adhesion "
     "row, 1 line speed row)\n"
     "L: error: nothing to compile: the line text gave no track cells; no file written\n"
     "3 errors, 0 warnings\n",
     1,
     false},
    {"NoLineLength",
     {"[generale]", "sfondo uno, 0", "[curve]", "pendenza, 100, 1"},
     small_train,
     "L:3:1: error: 25: the description texts could not be read: the line description gives no "
     "line length\n"
     "    [curve]\n"
     "    ^\n"
     "L:3:1: note: the reading of this text stopped here: line 4 was not read (1 gradient row)\n"
     "    [curve]\n"
     "    ^\n"
     "T: note: the reading stopped in the line text, so this text was not read at all (1 adhesion "
     "row, 1 line speed row)\n"
     "L: error: nothing to compile: the line text gave no track cells; no file written\n"
     "2 errors, 0 warnings\n",
     1,
     false},
    {"RowsTheCompileAcceptsSilently",
     {"[generale]", "lunghezza percorso, 1000", "pendenza, 100, 1", "[curve]", "curvad2, 100, 200",
      "curvas2, 250, 50", "pendenza, 500, 1", "pendenza, 200, 2", "pendenza, 600, 200", "---", "--",
      "-", "[fine]"},
     train_with({"velocita aderenza, 0, 100, 0, 100"}),
     "L:3:1: warning: row 'pendenza' stands in the header, where it is skipped: body rows are read "
     "only after the first section header [body-row-in-header]\n"
     "    pendenza, 100, 1\n"
     "    ^\n"
     "L:6:10: warning: curve at 250 m begins before the previous curve ends (300 m): the plan goes "
     "on from where it is, so this curve begins there [curve-overlap]\n"
     "    curvas2, 250, 50\n"
     "             ^\n"
     "L:8:11: warning: gradient row at 200 m comes after one at 500 m: the fill follows the rows' "
     "order and has already reached cell 10 (500 m), so the 1 ‰ of line 7 holds in that "
     "cell only, and this row's 2 ‰ holds from cell 11 (550 m), not from 200 m, up to the "
     "next row's chainage or the end of the line [fill-out-of-order]\n"
     "    pendenza, 200, 2\n"
     "              ^\n"
     "L:9:16: error: gradient 200 ‰ is stored as -56 ‰: a descent (the range is -100 to 155) "
     "[value-wraps]\n"
     "    pendenza, 600, 200\n"
     "                   ^\n"
     "L:12:1: warning: more comment fields (holding '-') in a row than are skipped: this one is "
     "read as a keyword, matches none and is skipped; line 12 was read as a row: only two comment "
     "fields in a row are skipped before a keyword (lines 10 and 11), and the third is read as a "
     "keyword [extra-comment-field]\n"
     "    -\n"
     "    ^\n"
     "T:2:1: warning: keyword 'velocita aderenza' matches 'velocita' and 'aderenza': each of those "
     "rows is applied, one after the other, each reading its own values [ambiguous-keyword]\n"
     "    velocita aderenza, 0, 100, 0, 100\n"
     "    ^\n"
     "1 error, 5 warnings\n",
     1,
     true},
};

// A line of 12000 m: cells 0 to 380, the line's end in cell 240.
const std::vector<std::string> line_12 = {"[generale]", "lunghezza percorso, 12000", "[curve]",
                                          "pendenza, 0, 0", "[fine]"};

const faulty_case fault_cases[] = {
    // Signals land one cell on: 1225 / 50 + 1 = 25.5, to the even 26, where
    // 1250 lands; 1175 gives 24.5, to 24, where 1150 lands. Gradient rows take
    // the cell of the chainage itself: 1175 / 50 = 23.5, to 24, where 1200 lands.
    {"RoundingNamesTheCellTheRowLandsIn",
     {"[generale]", "lunghezza percorso, 12000", "[curve]", "pendenza, 0, 0", "pendenza, 1175, 2",
      "[fine]"},
     train_with({"segnale, 1225, 1, 1,0,0,0, 0,0,0,0, 0", "segnale, 1175, 1, 1,0,0,0, 0,0,0,0, 0",
                 "rallentamento, 3000, 60, 130, 0, 0, 0"}),
     "L:5:11: warning: chainage 1175 m is not a multiple of 50: the row lands in cell 24, as a row "
     "at 1200 m does [chainage-rounded]\n"
     "    pendenza, 1175, 2\n"
     "              ^\n"
     "T:2:10: warning: chainage 1225 m is not a multiple of 50: the row lands in cell 26, as a row "
     "at 1250 m does [chainage-rounded]\n"
     "    segnale, 1225, 1, 1,0,0,0, 0,0,0,0, 0\n"
     "             ^\n"
     "T:3:10: warning: chainage 1175 m is not a multiple of 50: the row lands in cell 24, as a row "
     "at 1150 m does [chainage-rounded]\n"
     "    segnale, 1175, 1, 1,0,0,0, 0,0,0,0, 0\n"
     "             ^\n"
     // (3000 + 130) / 50 + 1 = 63.6, to 64, as with (64 - 1) * 50 - 3000 = 150 m.
     "T:4:26: warning: slowdown length 130 m is not a multiple of 50: its end lands in cell 64, "
     "as with a length of 150 m [chainage-rounded]\n"
     "    rallentamento, 3000, 60, 130, 0, 0, 0\n"
     "                             ^\n"
     "0 errors, 4 warnings\n",
     0,
     std::nullopt,
     {}},
    // Within the cells (up to 19000 m) but past the end: objects are errors,
    // fills warnings; far beyond, the reader's own 15.
    {"RowsBeyondTheEndOfTheLine",
     {"[generale]", "lunghezza percorso, 12000", "[curve]", "pendenza, 0, 0", "pendenza, 12500, 2",
      "[fine]"},
     train_with({"stazione, 14000, 12, 200, 0,0,0, 0,0,0, 0,0,0, 1, 10,0,0, FAR",
                 "segnale, 15500, 1, 1,0,0,0, 0,0,0,0, 0", "velocita, 13000, 80",
                 "segnale, 12000, 1, 1,0,0,0, 0,0,0,0, 0"}),
     "L:5:11: warning: gradient row at 12500 m lies beyond the end of the line, at 12000 m: it "
     "only changes the cells that extend the line past its end [fill-beyond-line-end]\n"
     "    pendenza, 12500, 2\n"
     "              ^\n"
     "T:2:11: error: station at 14000 m lies beyond the end of the line, at 12000 m: the compile "
     "puts it into the cells that extend the line past its end [beyond-line-end]\n"
     "    stazione, 14000, 12, 200, 0,0,0, 0,0,0, 0,0,0, 1, 10,0,0, FAR\n"
     "              ^\n"
     "T:3:10: error: signal at 15500 m lies beyond the end of the line, at 12000 m: the compile "
     "puts it into the cells that extend the line past its end [beyond-line-end]\n"
     "    segnale, 15500, 1, 1,0,0,0, 0,0,0,0, 0\n"
     "             ^\n"
     "T:4:11: warning: line speed row at 13000 m lies beyond the end of the line, at 12000 m: it "
     "only changes the cells that extend the line past its end [fill-beyond-line-end]\n"
     "    velocita, 13000, 80\n"
     "              ^\n"
     "2 errors, 2 warnings\n",
     1,
     std::nullopt,
     {}},
    {"RowsBeyondTheEndTurnedDown",
     line_12,
     train_with({"segnale, 15500, 1, 1,0,0,0, 0,0,0,0, 0"}),
     "T:2:10: warning: signal at 15500 m lies beyond the end of the line, at 12000 m: the compile "
     "puts it into the cells that extend the line past its end [beyond-line-end]\n"
     "    segnale, 15500, 1, 1,0,0,0, 0,0,0,0, 0\n"
     "             ^\n"
     "0 errors, 1 warning\n",
     0,
     std::nullopt,
     {"-W", "no-error=beyond-line-end"}},
    {"TrainTextWithoutGenerale",
     line_12,
     {"[generle]", "velocita, 0, 100", "stazione, 500, 12, 200, 0,0,0, 0,0,0, 0,0,0, 1, 10,0,0, A",
      "[fine]"},
     "T:1:1: error: no field holds '[generale]', and the reader skips everything up to one: "
     "nothing of this text was read; did you mean '[generale]' here? [nothing-read]\n"
     "    [generle]\n"
     "    ^\n"
     "1 error, 0 warnings\n",
     1,
     std::nullopt,
     {}},
    {"TrainTextWithNoGeneraleAtAll",
     line_12,
     {"velocita, 0, 100"},
     "T: error: no field holds '[generale]', and the reader skips everything up to one: nothing "
     "of this text was read [nothing-read]\n"
     "1 error, 0 warnings\n",
     1,
     std::nullopt,
     {}},
    {"TrainTextWithNoRowRead",
     line_12,
     {"[generale]", "-- no rows yet --", "[fine]"},
     "T:1:1: error: nothing was read from this text: no row after '[generale]' holds a keyword "
     "[nothing-read]\n"
     "    [generale]\n"
     "    ^\n"
     "1 error, 0 warnings\n",
     1,
     std::nullopt,
     {}},
    {"LineTextWhoseHeaderNeverEnds",
     {"[generale]", "lunghezza percorso, 12000", "pendenza, 0, 0", "pendenza, 500, 3"},
     small_train,
     "L:3:1: warning: row 'pendenza' stands in the header, where it is skipped: body rows are read "
     "only after the first section header [body-row-in-header]\n"
     "    pendenza, 0, 0\n"
     "    ^\n"
     "L:4:1: warning: row 'pendenza' stands in the header, where it is skipped: body rows are read "
     "only after the first section header [body-row-in-header]\n"
     "    pendenza, 500, 3\n"
     "    ^\n"
     "L: error: no section header (such as '[curve]') ends the header: every row after "
     "'[generale]' was taken as a header row, and none of the 2 body rows was read "
     "[nothing-read]\n"
     "1 error, 2 warnings\n",
     1,
     std::nullopt,
     {}},
    // Case counts in the header's "sfondo" rows: a capital is a slip, an error.
    {"KeywordWithTheWrongCase",
     {"[generale]", "lunghezza percorso, 12000", "Sfondo uno, 3", "[curve]", "[fine]"},
     small_train,
     "L:3:1: error: keyword 'Sfondo uno' differs from 'sfondo uno' only in letter case, and case "
     "counts in this keyword: the row is skipped; write it in lower case [keyword-typo]\n"
     "    Sfondo uno, 3\n"
     "    ^\n"
     "1 error, 0 warnings\n",
     1,
     std::nullopt,
     {}},
    // Named warnings one by one: a typo let through as a warning, an unknown
    // keyword made an error, a rounding turned off.
    {"WarningLevelsChangedOneByOne",
     line_12,
     train_with({"velocta, 0, 100", "banana, 5", "velocita, 130, 100"}),
     "T:2:1: warning: keyword 'velocta' matches no keyword, and the row is skipped; did you mean "
     "'velocita'? [keyword-typo]\n"
     "    velocta, 0, 100\n"
     "    ^\n"
     "T:3:1: error: keyword 'banana' matches no keyword: the row is skipped [unknown-keyword]\n"
     "    banana, 5\n"
     "    ^\n"
     "1 error, 1 warning\n",
     1,
     std::nullopt,
     {"-W", "no-error=keyword-typo", "-W", "error=unknown-keyword", "-W", "no-chainage-rounded"}},
    // No comment but the dash fields: a row that looks like one is read. The
    // second reads its eleven values from its own line (none: no comma) and on.
    {"RowThatLooksLikeAComment",
     line_12,
     train_with({"velocita, 0, 100", "# velocita, 500, 80", "// segnale 900: later"}),
     "T:3:1: warning: this row looks like a comment, but only fields holding '-' are skipped: it "
     "is read as a 'velocita' row [comment-like-row]\n"
     "    # velocita, 500, 80\n"
     "    ^\n"
     "T:4:1: error: 25: row 'segnale' is missing values: it reads 11 values, and its line holds 0; "
     "the reader went on to line 5 for the rest\n"
     "    // segnale 900: later\n"
     "    ^\n"
     "T:5:1: note: the value read here for the row of line 4 is '[fine]', not a number; the "
     "reading of this text stops\n"
     "    [fine]\n"
     "    ^\n"
     "T:4:1: warning: this row looks like a comment, but only fields holding '-' are skipped: it "
     "is read as a 'segnale' row [comment-like-row]\n"
     "    // segnale 900: later\n"
     "    ^\n"
     "1 error, 2 warnings\n",
     1,
     std::nullopt,
     {}},
    // A signal row one value short: the reader takes the next row's keyword
    // as its eleventh value. The fault is the signal's row; the rest of the
    // text is not read.
    {"SignalRowOneValueShort",
     line_12,
     train_with({"aderenza, 0, 100", "segnale, 1600, 2, 4, 1, 0, 0, 1, 3, 1, 205",
                 "velocita, 0, 100", "[segnali]", "segnale, 2600, 2, 4, 1, 0, 0, 1, 3, 1, 0, 205",
                 "segnale, 3600, 2, 4, 1, 0, 0, 1, 3, 1, 0, 205",
                 "stazione, 5000, 12, 200, 0,0,0, 0,0,0, 0,0,0, 1, 10,0,0, A"}),
     "T:3:1: error: 25: row 'segnale' is missing values: it reads 11 values, and its line holds "
     "10; the reader went on to line 4 for the rest\n"
     "    segnale, 1600, 2, 4, 1, 0, 0, 1, 3, 1, 205\n"
     "    ^\n"
     "T:4:1: note: the value read here for the row of line 3 is 'velocita', not a number; the "
     "reading of this text stops\n"
     "    velocita, 0, 100\n"
     "    ^\n"
     "T:3:1: note: the reading of this text stopped here: lines 4 to 8 were not read (1 line speed "
     "row, 2 signals, 1 station)\n"
     "    segnale, 1600, 2, 4, 1, 0, 0, 1, 3, 1, 205\n"
     "    ^\n"
     "1 error, 0 warnings\n",
     1,
     std::nullopt,
     {}},
    // Semicolons and tabs: the whole line is one keyword field.
    {"FieldsSeparatedBySemicolons",
     line_12,
     train_with({"velocita, 0, 100", "velocita; 500; 100", "velocita\t600\t100"}),
     "T:3:1: error: 25: row 'velocita' is missing values: it reads 2 values, and its line holds 0: "
     "its fields are separated by ';', not commas, so the whole line is one field; the reader "
     "went on to line 4 for the rest\n"
     "    velocita; 500; 100\n"
     "    ^\n"
     "T:4:1: note: the value read here for the row of line 3 is 'velocita', not a number; the "
     "reading of this text stops\n"
     "    velocita\t600\t100\n"
     "    ^\n"
     "T:3:1: note: the reading of this text stopped here: line 4 was not read (1 line speed row)\n"
     "    velocita; 500; 100\n"
     "    ^\n"
     "1 error, 0 warnings\n",
     1,
     std::nullopt,
     {}},
    // 1300 / 5 = 260 does not fit the byte: the fill fails at the next speed
    // row (or the tail); the fault is the speed of 1300.
    {"LineSpeedOutOfRange",
     line_12,
     train_with({"velocita, 0, 100", "velocita, 600, 1300",
                 "stazione, 5000, 12, 200, 0,0,0, 0,0,0, 0,0,0, 1, 10,0,0, A",
                 "velocita, 900, 100"}),
     "T:3:16: error: 25: line speed out of range: 1300 km/h: line speeds are kept in units of 5 "
     "km/h in one byte, from 0 to 1277 km/h\n"
     "    velocita, 600, 1300\n"
     "                   ^\n"
     "T:5:1: note: the reading of this text stopped here\n"
     "    velocita, 900, 100\n"
     "    ^\n"
     "1 error, 0 warnings\n",
     1,
     std::nullopt,
     {}},
    // A stop in the line text: its rest, and the whole train text, unread;
    // the warning found before the stop still shows.
    {"StopInTheLineText",
     {"[generale]", "lunghezza percorso, 12000", "[curve]", "pendenza, 0, 0", "pendenza, 130, 1",
      "cartello_indicatore, 500, A", "cartello_indicatore, 500, B", "pendenza, 3000, 2",
      "-- comment, pendenza, 4000, 2", "[fine]"},
     train_with({"aderenza, 0, 100", "segnale, 2600, 2, 4, 1, 0, 0, 1, 3, 1, 0, 205"}),
     "L:5:11: warning: chainage 130 m is not a multiple of 50: the row lands in cell 3, as a row "
     "at 150 m does [chainage-rounded]\n"
     "    pendenza, 130, 1\n"
     "              ^\n"
     "L:7:22: error: 6: sign on a cell that is not free: its cell, 11 (550 m), holds sign 'A' "
     "(line 6) (at 500 m)\n"
     "    cartello_indicatore, 500, B\n"
     "                         ^\n"
     "L:7:1: note: the reading of this text stopped here: lines 8 to 9 were not read (2 gradient "
     "rows)\n"
     "    cartello_indicatore, 500, B\n"
     "    ^\n"
     "T: note: the reading stopped in the line text, so this text was not read at all (1 adhesion "
     "row, 1 signal)\n"
     "1 error, 1 warning\n",
     1,
     std::nullopt,
     {}},
    // What holds a taken cell: a station's stop point (6000 + 200 / 2 = 6100,
    // 6100 / 50 - 1 = cell 121), where a signal at 6000 lands (6000 / 50 + 1).
    {"TakenCellNamesWhatHoldsIt",
     line_12,
     train_with({"stazione, 6000, 12, 200, 0,0,0, 0,0,0, 0,0,0, 1, 10,0,0, SAN ROCCO",
                 "segnale, 6000, 1, 1,0,0,0, 0,0,0,0, 0"}),
     "T:3:10: error: 16: signal on a cell that is not free: its cell, 121 (6050 m), holds the "
     "stop point of station SAN ROCCO (line 2) (at 6000 m)\n"
     "    segnale, 6000, 1, 1,0,0,0, 0,0,0,0, 0\n"
     "             ^\n"
     "1 error, 0 warnings\n",
     1,
     std::nullopt,
     {}},
    // The walk's: before the signal in cell 33 (1600 / 50 + 1), cells 32 and 31
    // hold a speed point and a sign; the slowdown at 2850 has its warning
    // point in cell 34 ((2850 - 1200) / 50 + 1), one after the signal.
    {"WalkErrorNamesWhatHoldsTheCells",
     {"[generale]", "lunghezza percorso, 12000", "[cartelli]", "cartello_indicatore, 1500, KM 1.5",
      "[fine]"},
     train_with({"segnale, 1600, 1, 1,0,0,0, 0,0,0,0, 0", "abbattimento, 1600, 0",
                 "rallentamento, 2850, 60, 100, 0, 0, 0"}),
     "T:2:10: error: 11: no room for a speed point before a signal ahead of a slowdown: the two "
     "cells before the signal: cell 32 (1600 m) holds a speed point without a speed (line 3) and "
     "cell 31 (1550 m) holds sign 'KM 1.5' (R_linea.txt line 4) (at 1650 m)\n"
     "    segnale, 1600, 1, 1,0,0,0, 0,0,0,0, 0\n"
     "             ^\n"
     "1 error, 0 warnings\n",
     1,
     std::nullopt,
     {}},
    // Wording that says what happened.
    {"StationsOutOfOrder",
     line_12,
     train_with({"stazione, 6000, 12, 200, 0,0,0, 0,0,0, 0,0,0, 1, 10,0,0, SAN ROCCO",
                 "stazione, 3000, 12, 200, 0,0,0, 0,0,0, 0,0,0, 1, 10,0,0, PRIMA"}),
     "T:3:11: error: 22: stations out of order: station PRIMA at 3000 m comes after station SAN "
     "ROCCO at 6000 m (line 2): stations follow the line's order, from its start (at 3000 m)\n"
     "    stazione, 3000, 12, 200, 0,0,0, 0,0,0, 0,0,0, 1, 10,0,0, PRIMA\n"
     "              ^\n"
     "1 error, 0 warnings\n",
     1,
     std::nullopt,
     {}},
    {"StationBeforeTheStart",
     line_12,
     train_with({"stazione, -500, 12, 200, 0,0,0, 0,0,0, 0,0,0, 1, 10,0,0, PRIMA"}),
     "T:2:11: error: 24: station before the start of the line: station PRIMA at -500 m lies "
     "before the line's start, at 0 m\n"
     "    stazione, -500, 12, 200, 0,0,0, 0,0,0, 0,0,0, 1, 10,0,0, PRIMA\n"
     "              ^\n"
     "1 error, 0 warnings\n",
     1,
     std::nullopt,
     {}},
    {"CurveWithoutARadiusDigit",
     {"[generale]", "lunghezza percorso, 12000", "[curve]", "curvax, 100, 100", "[fine]"},
     train_with({"velocita, 0, 100"}),
     "L:4:1: error: 103: curve without a radius digit: 'curvax' names no radius: write 'curvad' "
     "(to the right) or 'curvas' (to the left) and one digit: 1 radius 10000 m, 2 5000 m, 3 2500 "
     "m, 4 1000 m, 5 500 m, 6 333 m\n"
     "    curvax, 100, 100\n"
     "    ^\n"
     "T: note: the reading stopped in the line text, so this text was not read at all (1 line "
     "speed row)\n"
     "1 error, 0 warnings\n",
     1,
     std::nullopt,
     {}},
    {"EveryWarningAnError",
     line_12,
     train_with({"velocita, 130, 100"}),
     "T:2:11: error: chainage 130 m is not a multiple of 50: the row lands in cell 3, as a row at "
     "150 m does [chainage-rounded]\n"
     "    velocita, 130, 100\n"
     "              ^\n"
     "1 error, 0 warnings\n",
     1,
     std::nullopt,
     {"-W", "error"}},
};

const auto case_name = [](const testing::TestParamInfo<faulty_case>& info) {
  return std::string(info.param.name);
};
INSTANTIATE_TEST_SUITE_P(Faulty, ToolCompileDiagnostics, testing::ValuesIn(faulty_cases),
                         case_name);
INSTANTIATE_TEST_SUITE_P(Texts, ToolCompileDiagnostics, testing::ValuesIn(fault_cases), case_name);

TEST(ToolCompileWarnings, AnUnknownNameIsAUsageErrorWithTheNearestName) {
  const texts_in_folder texts(crlf(small_line), crlf(small_train));
  const tool_result result = texts.compile({"-W", "error=keyword-typos"});
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.err,
            "scenario_tool compile: -W error=keyword-typos: no warning is named 'keyword-typos'; "
            "did you mean 'keyword-typo'? (see --help)\n");
  EXPECT_TRUE(texts.compiled().empty());
}

TEST(ToolCompileWarnings, JsonCarriesTheName) {
  const texts_in_folder texts(crlf(small_line), crlf(train_with({"velocita, 130, 100"})));
  const nlohmann::json doc = nlohmann::json::parse(texts.compile({"--json"}).out);
  ASSERT_EQ(doc["diagnostics"].size(), 1u);
  EXPECT_EQ(doc["diagnostics"][0]["name"], "chainage-rounded");
  EXPECT_EQ(doc["diagnostics"][0]["severity"], "warning");
}

}  // namespace
