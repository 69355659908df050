#include "scenario_tool/fmt/row_alignment.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "assembly/compiled_files.h"
#include "platform/replace_file.h"
#include "reader/description_texts.h"
#include "scenari/scenario_texts.h"
#include "scenario_tool/compile/compile_core.h"
#include "scenario_tool/new/minimal_scenario.h"
#include "tools/compile/compile_texts.h"

namespace {

using scenario_tool::aligned_text;

// What the installer keeps of a compile: the error it records and the three
// compiled files (the three documents are carried as they are, apart from the
// texts).
struct installed {
  bool stopped = false;
  std::int32_t error_code = 0;
  std::int32_t error_position = 0;
  std::string plan;
  std::string stations;
  std::string cells;
  bool operator==(const installed&) const = default;
};

installed compile(std::string line, std::string train, bool plan) {
  scenario_tool::compile_request request;
  request.line = scenario_tool::source_text("line.txt", std::move(line));
  request.train = scenario_tool::source_text("train.txt", std::move(train));
  request.route_id = std::string("Route");
  request.train_number = std::string("1234");
  request.plan = plan;
  const scenario_tool::compile_result result = scenario_tool::compile_texts(request);
  const model::scenario_model& m = *result.model;
  installed out;
  out.stopped = result.stopped;
  out.error_code = m.error_code;
  out.error_position = m.error_position;
  if (plan) out.plan = assembly::plan_file_bytes(m.plan);
  out.stations = assembly::station_file_bytes(m.station_table);
  out.cells = assembly::cell_file_bytes(m.track_cells);
  return out;
}

// Formats both texts, checks that formatting again changes nothing, and that
// the compile of the formatted texts installs the same bytes.
void expect_same_install(const std::string& line, const std::string& train, bool plan,
                         const std::string& what) {
  SCOPED_TRACE(what);
  const std::optional<std::string> line_aligned = aligned_text(line);
  const std::optional<std::string> train_aligned = aligned_text(train);
  ASSERT_TRUE(line_aligned && train_aligned);
  EXPECT_EQ(aligned_text(*line_aligned), line_aligned);
  EXPECT_EQ(aligned_text(*train_aligned), train_aligned);
  EXPECT_TRUE(compile(line, train, plan) == compile(*line_aligned, *train_aligned, plan));
}

std::string crlf(const std::vector<std::string>& lines) {
  return compile_texts::crlf(lines);
}

TEST(FmtAlignment, AlignsRowsOfOneKeywordInColumns) {
  const std::string text = crlf({
      "[generale]",
      "lunghezza percorso,1000",
      "[curve]",
      "curvad2,  1150,250",
      "curvad1,50, 1250",
      "pendenza,0,0",
      "pendenza, 1050 ,-3",
      "- a comment,  kept   as it is ",
      "",
      "pendenza,2400,   1",
      "stazione,0,7,BRISENA",
      "stazione, 4250,12,  S. MARCO  ",
      "segnale, 1600,2,",
      "[fine]",
  });
  const std::string expected = crlf({
      "[generale]",
      "lunghezza percorso, 1000",
      "[curve]",
      "curvad2, 1150,  250",
      "curvad1,   50, 1250",
      "pendenza,    0,  0",
      "pendenza, 1050, -3",
      "- a comment,  kept   as it is ",
      "",
      "pendenza, 2400, 1",
      "stazione,    0,  7, BRISENA",
      "stazione, 4250, 12, S. MARCO",
      "segnale, 1600, 2,",
      "[fine]",
  });
  EXPECT_EQ(aligned_text(text), expected);
}

TEST(FmtAlignment, KeepsLineEndsBytesAndBlanksThatAreFields) {
  struct example {
    const char* what;
    std::string text;
    std::string aligned;
  };
  const std::vector<example> examples = {
      {"lone LF and lone CR line ends", "sabbia,\t300\nsabbia,5\rx", "sabbia, 300\nsabbia,   5\rx"},
      {"a Windows-1252 name and a header before [generale]", "[testa]\r\nstazione,1,CITT\xC9\r\n",
       "[testa]\r\nstazione, 1, CITT\xC9\r\n"},
      {"three numbers in one field keep their blanks",
       "orologio,    11              29            30 \r\n",
       "orologio, 11              29            30\r\n"},
      {"a comment after a number stays in its field", "pendenza,  50,  -4     - climb\r\n",
       "pendenza, 50, -4     - climb\r\n"},
      // At the end of the text the blanks of an empty last field are a field
      // the reader takes; dropped, the text would end a field too early.
      {"an unterminated last row ending in blanks", "velocita,0,100\r\nvelocita, 0,   ",
       "velocita, 0, 100\r\nvelocita, 0,   "},
      {"a keyword with a dash is a comment", "cartello-indicatore,  5,  x\r\n",
       "cartello-indicatore,  5,  x\r\n"},
  };
  for (const example& e : examples) {
    EXPECT_EQ(aligned_text(e.text), e.aligned) << e.what;
  }
}

TEST(FmtAlignment, TextTooLongOnceAlignedIsLeftAsItIs) {
  // A long field in a run widens every row of it: 33 MiB, three rows.
  std::string text = "cartello_indicatore, 1, ";
  text.append(std::size_t{33} << 20, 'A');
  text.append("\r\ncartello_indicatore, 2, x, y\r\ncartello_indicatore, 3, x, y\r\n");
  EXPECT_FALSE(aligned_text(text).has_value());
}

TEST(FmtAlignment, InstallsTheSameBytesFromEveryTextOfTheSuite) {
  const std::string shipped_line = scenari::render_lines(scenari::linea_lines());
  const std::string shipped_train = scenari::render_lines(scenari::treno_lines());
  expect_same_install(shipped_line, shipped_train, true, "shipped texts");
  expect_same_install(shipped_line, shipped_train, false, "shipped texts without the plan");
  expect_same_install(scenario_tool::minimal_line_text(), scenario_tool::minimal_train_text(), true,
                      "the texts `new` writes");
  expect_same_install(crlf(compile_texts::small_line), crlf(compile_texts::small_train), true,
                      "the compile tests' small texts");
  expect_same_install(
      crlf({"[generale]", "lunghezza percorso ,  2000", "ripetizione segnali 4 codici, 50,100",
            "[curve]", "curvas3,\t100,  50", "curvas3,150,50", "pendenza, 0,  -4  - climb",
            "indicatori_vmax, 300, 60,50,40, 2, 60 , 50, 40,2", "cartello_indicatore,400,  BIVIO",
            "[fine]"}),
      crlf({"[generale]", "orologio, 11  29 30", "aderenza, 0,100", "velocita,0, 100",
            "velocita, 650,  5", "segnale, 600, 2,4,1,0,0, 1,3,1,0, 205",
            "stazione,  0, 7, 700, 1,0,0, 3,1,0, 2,1,1, 1, 11,30,0, CITT\xC9",
            "rallentamento, 900, 40, 200, 0,1,0", "abbattimento, 1200,  30", "[fine]"}),
      true, "texts with blanks inside fields, comments and every kind of row");
}

// The fuzz targets' seeds: each input's first byte says what the rest is, as
// the targets read it (compile_fuzz: bit 0 the plan, bits 1 and 2 the line
// text, the train text or both split at a zero byte).
TEST(FmtAlignment, InstallsTheSameBytesFromTheFuzzCorpus) {
  const std::string shipped_line = scenari::render_lines(scenari::linea_lines());
  const std::string shipped_train = scenari::render_lines(scenari::treno_lines());
  const std::filesystem::path corpus = std::filesystem::path(FUZZ_CORPUS_PATH) / "compile_fuzz";
  ASSERT_TRUE(std::filesystem::is_directory(corpus));
  int seeds = 0;
  for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
    const std::string data = platform::read_file(entry.path());
    if (data.empty()) continue;
    const bool plan = (data[0] & 1) != 0;
    const int mode = (data[0] >> 1) & 3;
    const std::string input = data.substr(1);
    std::string line = shipped_line;
    std::string train = shipped_train;
    if (mode == 0) {
      line = input;
    } else if (mode == 1) {
      train = input;
    } else {
      const std::size_t split = input.find('\0');
      line = input.substr(0, split);
      train = split == std::string::npos ? std::string() : input.substr(split + 1);
    }
    expect_same_install(line, train, plan, entry.path().filename().string());
    ++seeds;
  }
  EXPECT_GT(seeds, 0);
}

}  // namespace
