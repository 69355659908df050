// What the tool writes reaches its place or is told lost: standard output on
// a full disk is one line and a failed status, and a file written by name
// replaces only a regular file, a link or nothing, never a device, pipe or
// folder standing at that name.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "platform/replace_file.h"
#include "support/run_tool.h"
#include "support/temp_folder.h"
#include "tools/shipped_compiled.h"

namespace {

using testing_support::run_tool;
using testing_support::shipped_cells;
using testing_support::shipped_compiled;
using testing_support::temp_folder;
using testing_support::tool_result;

std::string quoted(const std::string& text) {
  std::string q(1, '\'');
  for (const char c : text) {
    if (c == '\'') {
      q.append("'\\''");
    } else {
      q.push_back(c);
    }
  }
  q.push_back('\'');
  return q;
}

// The tool run as its own process, its standard output on /dev/full (every
// write fails with "No space left on device").
tool_result run_tool_into_full_disk(const std::vector<std::string>& args,
                                    const temp_folder& scratch) {
  std::string command = quoted(SCENARIO_TOOL_PATH);
  for (const std::string& arg : args) {
    command.push_back(' ');
    command.append(quoted(arg));
  }
  const std::filesystem::path err = scratch / "err.txt";
  command.append(" >/dev/full 2>");
  command.append(quoted(err.string()));
  command.append(" </dev/null");
  const int raw = std::system(command.c_str());
  tool_result result{};
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  result.err = platform::read_file(err);
  return result;
}

struct lost_output_case {
  std::string name;
  std::vector<std::string> args;  // "{texts}" stands for the example texts' folder
  std::string command;            // as the line names it; empty for the tool itself
  int status;
};

class LostStandardOutput : public testing::TestWithParam<lost_output_case> {};

TEST_P(LostStandardOutput, IsOneLineAndAFailedStatus) {
  const lost_output_case& c = GetParam();
  temp_folder texts, scratch;
  ASSERT_EQ(run_tool({"example", texts.path().string()}).status, 0);
  std::vector<std::string> args;
  for (const std::string& arg : c.args) {
    if (arg == "{texts}") {
      args.push_back(texts.path().string());
    } else if (arg.rfind("{texts}/", 0) == 0) {
      args.push_back((texts / arg.substr(8)).string());
    } else if (arg == "{cells}") {
      args.push_back((shipped_compiled().path() / shipped_cells).string());
    } else if (arg == "{out}") {
      args.push_back((scratch / "compiled").string());
    } else {
      args.push_back(arg);
    }
  }
  const tool_result run = run_tool_into_full_disk(args, scratch);
  const std::string who = c.command.empty() ? "scenario_tool" : "scenario_tool " + c.command;
  EXPECT_EQ(run.err, who + ": cannot write to standard output: No space left on device\n");
  EXPECT_EQ(run.status, c.status);
}

INSTANTIATE_TEST_SUITE_P(
    EverySubcommand, LostStandardOutput,
    testing::Values(lost_output_case{"Explain", {"explain", "segnale"}, "explain", 1},
                    lost_output_case{"Dump", {"dump", "{cells}"}, "dump", 1},
                    lost_output_case{"DumpJson", {"dump", "--json", "{cells}"}, "dump", 1},
                    // 1 would say that the files differ: a lost result is diff's 2.
                    lost_output_case{"DiffIdentical", {"diff", "{cells}", "{cells}"}, "diff", 2},
                    lost_output_case{"DrawToStandardOutput",
                                     {"draw", "{texts}/Brisena_Tarvo_linea.txt",
                                      "{texts}/Brisena_Tarvo_47306-.txt", "--svg", "-"},
                                     "draw",
                                     1},
                    lost_output_case{
                        "CompileJson",
                        {"compile", "{texts}/Brisena_Tarvo_linea.txt",
                         "{texts}/Brisena_Tarvo_47306-.txt", "--out", "{out}", "--json"},
                        "compile",
                        1},
                    lost_output_case{"Example", {"example", "{out}"}, "example", 1},
                    lost_output_case{"Help", {"--help"}, "", 1}),
    [](const testing::TestParamInfo<lost_output_case>& info) { return info.param.name; });

// What is planted at an output's name, and how the refusal says it.
struct planted_thing {
  std::string name;
  std::string refusal;
  bool needs_root;
};

// Plants the thing at `at`; returns false if it could not be made.
bool plant(const std::string& kind, const std::filesystem::path& at) {
  if (kind.rfind("LinkTo", 0) == 0) {
    // A link to the thing, as /dev/stdout is a link to a device or a pipe.
    const std::string target = kind.substr(6);
    std::filesystem::path to = "/dev/null";
    if (target == "Folder") to = std::filesystem::temp_directory_path();
    if (target == "Fifo") {
      static const temp_folder pipes;
      to = pipes / ("fifo" + std::to_string(::getpid()) + at.filename().string());
      if (!std::filesystem::exists(to) && ::mkfifo(to.c_str(), 0666) != 0) return false;
    }
    std::error_code failed;
    std::filesystem::create_symlink(to, at, failed);
    return !failed;
  }
  if (kind == "Folder") return std::filesystem::create_directory(at);
  if (kind == "Fifo") return ::mkfifo(at.c_str(), 0666) == 0;
  // The system's "full" device, as /dev/full.
  return ::mknod(at.c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0;
}

std::filesystem::file_type type_at(const std::filesystem::path& at) {
  return std::filesystem::symlink_status(at).type();
}

class PlantedAtAnOutputName : public testing::TestWithParam<planted_thing> {
 protected:
  void SetUp() override {
    if (GetParam().needs_root && ::geteuid() != 0) GTEST_SKIP() << "making a device needs root";
    ASSERT_EQ(run_tool({"example", texts.path().string()}).status, 0);
  }
  std::string line() const { return (texts / "Brisena_Tarvo_linea.txt").string(); }
  std::string train() const { return (texts / "Brisena_Tarvo_47306-.txt").string(); }
  temp_folder texts, out;
};

TEST_P(PlantedAtAnOutputName, IsRefusedAndLeftAsItWas) {
  const planted_thing& p = GetParam();
  {
    SCOPED_TRACE("draw --svg");
    const std::filesystem::path page = out / "line.svg";
    ASSERT_TRUE(plant(p.name, page));
    const std::filesystem::file_type before = type_at(page);
    const tool_result run = run_tool({"draw", line(), train(), "--svg", page.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err,
              "scenario_tool draw: cannot write " + page.string() + ": " + p.refusal + "\n");
    EXPECT_EQ(type_at(page), before);
  }
  {
    SCOPED_TRACE("compile --out");
    temp_folder compiled;
    const std::filesystem::path cells = compiled / "Brisena_Tarvo_47306.dat";
    ASSERT_TRUE(plant(p.name, cells));
    const std::filesystem::file_type before = type_at(cells);
    const tool_result run =
        run_tool({"compile", line(), train(), "--out", compiled.path().string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(cells.string() + ": " + p.refusal), std::string::npos) << run.err;
    EXPECT_EQ(type_at(cells), before);
    // Refused before anything was written.
    EXPECT_EQ(compiled.names(), std::set<std::string>{"Brisena_Tarvo_47306.dat"});
  }
  {
    SCOPED_TRACE("example --force");
    temp_folder folder;
    const std::filesystem::path train_text = folder / "Brisena_Tarvo_47306-.txt";
    ASSERT_TRUE(plant(p.name, train_text));
    const tool_result run = run_tool({"example", folder.path().string(), "--force"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "scenario_tool example: cannot write " + train_text.string() + ": " +
                           p.refusal + "\n");
    EXPECT_EQ(folder.names(), std::set<std::string>{"Brisena_Tarvo_47306-.txt"});
  }
}

INSTANTIATE_TEST_SUITE_P(
    DrawCompileExample, PlantedAtAnOutputName,
    testing::Values(planted_thing{"Folder", "it is a folder, not a file", false},
                    planted_thing{"Fifo", "it is a pipe (FIFO), not a file", false},
                    planted_thing{"Device", "it is a device, not a file", true},
                    planted_thing{"LinkToFolder", "it is a link to a folder, not a file", false},
                    planted_thing{"LinkToFifo", "it is a link to a pipe (FIFO), not a file", false},
                    planted_thing{"LinkToDevice", "it is a link to a device, not a file", false}),
    [](const testing::TestParamInfo<planted_thing>& info) { return info.param.name; });

TEST(ToolOutputByName, ALinkIsReplacedNeverFollowed) {
  temp_folder texts, out, elsewhere;
  ASSERT_EQ(run_tool({"example", texts.path().string()}).status, 0);
  platform::replace_file(elsewhere / "kept.txt", "not a picture\n");
  const std::filesystem::path page = out / "line.svg";
  std::filesystem::create_symlink(elsewhere / "kept.txt", page);

  const tool_result run =
      run_tool({"draw", (texts / "Brisena_Tarvo_linea.txt").string(),
                (texts / "Brisena_Tarvo_47306-.txt").string(), "--svg", page.string()});

  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(type_at(page), std::filesystem::file_type::regular);
  EXPECT_EQ(out.read("line.svg").rfind("<?xml", 0), 0u);
  EXPECT_EQ(elsewhere.read("kept.txt"), "not a picture\n");
}

}  // namespace
