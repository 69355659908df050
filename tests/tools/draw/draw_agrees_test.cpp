// draw tells what compile tells: the same status and diagnostics on the same
// texts; a folder picture carries no path of the author's machine; a folder of
// several trains is drawn one train at a time.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tools/compile/compile_texts.h"

namespace {

using namespace compile_texts;

struct agreement_case {
  const char* name;
  std::vector<std::string> line;
  std::vector<std::string> train;
  int status;  // of both
};

class ToolDrawAgrees : public testing::TestWithParam<agreement_case> {};

TEST_P(ToolDrawAgrees, WithCompilesStatusAndDiagnostics) {
  const agreement_case& c = GetParam();
  const texts_in_folder texts(crlf(c.line), crlf(c.train));
  const tool_result compiled = texts.compile();
  const tool_result drawn = run_tool({"draw", texts.line_path, texts.train_path, "--svg", "-"});
  EXPECT_EQ(compiled.status, c.status) << compiled.err;
  EXPECT_EQ(drawn.status, c.status) << drawn.err;
  EXPECT_EQ(drawn.err, compiled.err);
  EXPECT_NE(drawn.out.find("</svg>"), std::string::npos);
}

const std::vector<std::string> line_5000 = {"[generale]", "lunghezza percorso, 5000", "[curve]",
                                            "pendenza, 0, 0", "[fine]"};

const agreement_case agreement_cases[] = {
    {"Clean", small_line, small_train, 0},
    {"WarningOnly", small_line, train_with({"velocita, 130, 100"}), 0},
    // Two signals in one cell: the store records 16.
    {"RecordedError", line_5000,
     train_with({"segnale, 1600, 1, 1,0,0,0, 0,0,0,0, 0", "segnale, 1600, 1, 1,0,0,0, 0,0,0,0, 0"}),
     1},
    {"SignalBeyondTheEnd", small_line, train_with({"segnale, 1500, 1, 1,0,0,0, 0,0,0,0, 0"}), 1},
    // A sign in the header cell: the compile stops.
    {"Stopped",
     {"[generale]", "lunghezza percorso, 1000", "[cartelli]", "cartello_indicatore, 0, STAZIONE",
      "[fine]"},
     small_train,
     1},
};

INSTANTIATE_TEST_SUITE_P(Texts, ToolDrawAgrees, testing::ValuesIn(agreement_cases),
                         [](const testing::TestParamInfo<agreement_case>& info) {
                           return std::string(info.param.name);
                         });

TEST(ToolDraw, TheLineEndIsMarkedAndWhatLiesPastItIsShown) {
  const texts_in_folder texts(
      crlf(small_line),
      crlf(train_with({"stazione, 2000, 12, 200, 0,0,0, 0,0,0, 0,0,0, 1, 10,0,0, FAR"})));
  const tool_result drawn = run_tool({"draw", texts.line_path, texts.train_path, "--svg", "-"});
  EXPECT_EQ(drawn.status, 1);
  EXPECT_NE(drawn.out.find("id=\"line-end\""), std::string::npos);
  EXPECT_NE(drawn.out.find(">end of line, 1 km</text>"), std::string::npos);
  EXPECT_NE(drawn.out.find(">FAR</text>"), std::string::npos);
  // Within the line: no mark, the axis ends with the line.
  const texts_in_folder inside(crlf(small_line), crlf(small_train));
  EXPECT_EQ(run_tool({"draw", inside.line_path, inside.train_path, "--svg", "-"})
                .out.find("id=\"line-end\""),
            std::string::npos);
}

TEST(ToolDraw, AFolderPictureNamesNoPathOfTheMachine) {
  const texts_in_folder texts(crlf(small_line), crlf(small_train));
  ASSERT_EQ(texts.compile().status, 0);
  const std::filesystem::path out = std::filesystem::absolute(texts.folder / "out");
  const tool_result drawn = run_tool({"draw", out.string(), "--svg", "-"});
  ASSERT_EQ(drawn.status, 0) << drawn.err;
  EXPECT_EQ(drawn.out.find(texts.folder.path().string()), std::string::npos);
  EXPECT_EQ(drawn.out.find(out.parent_path().filename().string()), std::string::npos);
  EXPECT_NE(drawn.out.find("R_1.sim, R_1.dat and R_linea.dat in out<"), std::string::npos);
}

TEST(ToolDraw, AFolderOfTwoTrainsIsDrawnOneTrainAtATime) {
  const texts_in_folder texts(crlf(small_line), crlf(small_train));
  ASSERT_EQ(texts.compile().status, 0);
  ASSERT_EQ(texts.compile({"--train", "2"}).status, 0);
  const std::string out = (texts.folder / "out").string();

  const tool_result both = run_tool({"draw", out, "--svg", "-"});
  EXPECT_EQ(both.status, 1);
  EXPECT_EQ(both.err,
            "scenario_tool draw: out holds 2 station tables (.sim), of trains 1, 2: choose one "
            "with --train\n");
  for (const char* train : {"1", "2"}) {
    const tool_result one = run_tool({"draw", out, "--train", train, "--svg", "-"});
    EXPECT_EQ(one.status, 0) << one.err;
    EXPECT_NE(one.out.find(std::string("R — train ") + train), std::string::npos);
  }
  const tool_result none = run_tool({"draw", out, "--train", "3", "--svg", "-"});
  EXPECT_EQ(none.status, 1);
  EXPECT_EQ(none.err,
            "scenario_tool draw: out holds no station table of train 3 (it holds trains 1, 2)\n");
}

}  // namespace
