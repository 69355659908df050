// The tool reads no file larger than any file of its kind can be: a compiled
// file beyond the largest of its kind, or a description text far beyond what
// the longest line needs, is refused before it is read, with its size and the
// bound. The largest valid files, those of a 1 000 000 m line, are read.
// (Sparse files: a size of gigabytes costs no disk.)
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/replace_file.h"
#include "scenari/scenario_texts.h"
#include "support/fault_process.h"
#include "support/run_tool.h"
#include "support/temp_folder.h"

namespace {

using testing_support::run_tool;
using testing_support::temp_folder;
using testing_support::tool_result;

// A file of `size` bytes that holds nothing (zeros, not on the disk).
void sparse_file(const std::filesystem::path& file, std::uintmax_t size) {
  platform::replace_file(file, "");
  std::filesystem::resize_file(file, size);
}

// The shipped texts with the line 1 000 000 m long, compiled into `folder`.
void compile_longest_line(const temp_folder& folder) {
  std::string line = scenari::render_lines(scenari::linea_lines());
  const std::size_t at = line.find("91000");
  ASSERT_NE(at, std::string::npos);
  line.replace(at, 5, "1000000");
  platform::replace_file(folder / "Brisena_Tarvo_linea.txt", line);
  platform::replace_file(folder / "Brisena_Tarvo_47306-.txt",
                         scenari::render_lines(scenari::treno_lines()));
  const tool_result compiled =
      run_tool({"compile", (folder / "Brisena_Tarvo_linea.txt").string(),
                (folder / "Brisena_Tarvo_47306-.txt").string(), "--out", folder.path().string()});
  ASSERT_EQ(compiled.status, 0) << compiled.err;
}

struct too_large {
  std::string name;     // the test's name
  std::string file;     // the file's name, which gives its kind
  std::uintmax_t size;  // its size
  std::string bound;    // how the refusal states the bound
};

class CompiledFileTooLarge : public testing::TestWithParam<too_large> {};

TEST_P(CompiledFileTooLarge, IsRefusedWithItsSizeAndTheBound) {
  const too_large& c = GetParam();
  const temp_folder folder;
  const std::filesystem::path file = folder / c.file;
  sparse_file(file, c.size);
  const std::string refusal = "cannot read " + file.string() + ": it holds " +
                              std::to_string(c.size) + " bytes; " + c.bound;

  const tool_result dump = run_tool({"dump", "--json", file.string()});
  EXPECT_EQ(dump.status, 1);
  EXPECT_EQ(dump.out, "");
  EXPECT_EQ(dump.err, "scenario_tool dump: " + refusal + "\n");

  const tool_result diff = run_tool({"diff", file.string(), file.string()});
  EXPECT_EQ(diff.status, 2);
  EXPECT_EQ(diff.err, "scenario_tool diff: " + refusal + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, CompiledFileTooLarge,
    testing::Values(
        // One byte beyond the plan of a 1 000 000 m line: 20 x 1000000 + 139964.
        too_large{"PlanOneByteOver", "R_linea.dat", 20'139'965,
                  "a track plan file holds at most 20139964"},
        too_large{"PlanOfTwoGibibytes", "R_linea.dat", std::uintmax_t{2} << 30,
                  "a track plan file holds at most 20139964"},
        // Cells 0 to 20140 of the longest line, 15 bytes each.
        too_large{"CellsOneByteOver", "R_1.dat", 302'116,
                  "a track cells file holds at most 302115"},
        // 87 entries, each text as long as its 16-bit length allows.
        too_large{"StationTableOfNineGibibytes", "R_1.sim", std::uintmax_t{9} << 30,
                  "a station table file holds at most 5704503"}),
    [](const testing::TestParamInfo<too_large>& info) { return info.param.name; });

TEST(ReadBounds, TheLargestValidFilesAreRead) {
  const temp_folder folder;
  compile_longest_line(folder);
  ASSERT_EQ(std::filesystem::file_size(folder / "Brisena_Tarvo_linea.dat"), 20'139'964u);
  ASSERT_EQ(std::filesystem::file_size(folder / "Brisena_Tarvo_47306.dat"), 302'115u);
  for (const char* name : {"Brisena_Tarvo_linea.dat", "Brisena_Tarvo_47306.dat"}) {
    SCOPED_TRACE(name);
    const tool_result dump =
        run_tool({"dump", (folder / name).string(), "--from", "0", "--to", "10"});
    EXPECT_EQ(dump.status, 0) << dump.err;
  }
}

TEST(ReadBounds, DrawRefusesAStationTableLargerThanAnyInItsFolder) {
  const temp_folder folder;
  sparse_file(folder / "Brisena_Tarvo_47306.sim", std::uintmax_t{9} << 30);
  const tool_result r = run_tool({"draw", folder.path().string(), "--svg", "-"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("it holds 9663676416 bytes; a station table file holds at most 5704503"),
            std::string::npos)
      << r.err;
}

TEST(ReadBounds, ATextFarLargerThanTheLongestLineNeedsIsRefused) {
  const temp_folder folder;
  const std::filesystem::path line = folder / "Brisena_Tarvo_linea.txt";
  const std::filesystem::path train = folder / "Brisena_Tarvo_47306-.txt";
  platform::replace_file(train, scenari::render_lines(scenari::treno_lines()));
  // One byte over 64 MiB.
  sparse_file(line, (std::uintmax_t{64} << 20) + 1);
  const std::string refusal =
      "cannot read " + line.string() +
      ": it holds 67108865 bytes; a description text holds at most 67108864";

  const tool_result compile =
      run_tool({"compile", line.string(), train.string(), "--out", (folder / "out").string()});
  EXPECT_EQ(compile.status, 1);
  EXPECT_NE(compile.err.find(refusal), std::string::npos) << compile.err;
  EXPECT_FALSE(std::filesystem::exists(folder / "out"));

  const tool_result draw = run_tool({"draw", line.string(), train.string(), "--svg", "-"});
  EXPECT_EQ(draw.status, 1);
  EXPECT_EQ(draw.err, "scenario_tool draw: " + refusal + "\n");
}

// The tool run as its own process with every read of the file named `name`
// failing (the fault library preloaded): only a check made by the file's size,
// before any read, can refuse it for its size.
tool_result run_tool_unable_to_read(const std::vector<std::string>& args, const std::string& name,
                                    const std::filesystem::path& errors) {
  return testing_support::run_tool_with_fault(args, {name, "read", EIO}, errors);
}

// At its bound a file passes the size check and its read is tried (and fails
// here); one byte over, it is refused by its size without a read.
TEST(ReadBounds, TheSizeCheckRefusesOneByteOverTheBoundBeforeAnyRead) {
  const temp_folder folder;
  const temp_folder outside;
  const struct {
    const char* name;
    std::uintmax_t bound;
    std::string words;
    std::vector<std::string> command;
  } kinds[] = {
      {"R_1.dat", 302'115, "a track cells file holds at most 302115", {"dump", "--json"}},
      {"R_linea.dat", 20'139'964, "a track plan file holds at most 20139964", {"dump", "--json"}},
      {"R_linea.txt",
       std::uintmax_t{64} << 20,
       "a description text holds at most 67108864",
       {"draw", "--svg", "-", (folder / "R_1-.txt").string()}},
  };
  platform::replace_file(folder / "R_1-.txt", scenari::render_lines(scenari::treno_lines()));
  for (const auto& k : kinds) {
    for (const std::uintmax_t size : {k.bound, k.bound + 1}) {
      SCOPED_TRACE(std::string(k.name) + " of " + std::to_string(size) + " bytes");
      const std::filesystem::path file = folder / k.name;
      sparse_file(file, size);
      std::vector<std::string> args = k.command;
      // The file before the train text, when there is one.
      args.insert(args.size() == 2 ? args.end() : args.end() - 1, file.string());
      const tool_result r = run_tool_unable_to_read(args, k.name, outside / "stderr.txt");
      EXPECT_NE(r.status, 0) << r.err;
      const std::string by_size = "it holds " + std::to_string(size) + " bytes; " + k.words;
      if (size > k.bound) {
        EXPECT_NE(r.err.find(by_size), std::string::npos) << r.err;
      } else {
        EXPECT_EQ(r.err.find("bytes; " + k.words), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(std::strerror(EIO)), std::string::npos) << r.err;
      }
    }
  }
}

}  // namespace
