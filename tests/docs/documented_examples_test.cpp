// The examples the documents show are run, and what the tool prints today is
// compared with what the page says: an edit to either that makes them differ
// fails here.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/replace_file.h"
#include "scenario_tool/compile/warning_names.h"
#include "support/run_tool.h"
#include "support/temp_folder.h"

namespace {

using testing_support::run_tool;
using testing_support::tool_result;

std::string read_page(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The first indented block after the first line holding `after`, without its
// four blanks of indentation.
std::vector<std::string> indented_block_after(const std::string& page, const std::string& after) {
  const std::vector<std::string> lines = lines_of(page);
  std::vector<std::string> block;
  std::size_t i = 0;
  while (i < lines.size() && lines[i].find(after) == std::string::npos) ++i;
  if (i == lines.size()) return block;
  for (++i; i < lines.size() && lines[i].rfind("    ", 0) != 0; ++i) {
  }
  for (; i < lines.size() && lines[i].rfind("    ", 0) == 0; ++i)
    block.push_back(lines[i].substr(4));
  return block;
}

// Runs the tool in `folder` as a user's shell would: names relative to it.
class in_folder {
 public:
  explicit in_folder(const std::filesystem::path& folder)
      : before_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~in_folder() { std::filesystem::current_path(before_); }
  in_folder(const in_folder&) = delete;
  in_folder& operator=(const in_folder&) = delete;

 private:
  std::filesystem::path before_;
};

// Each shell line of the worked example, in the README's order: a
// `scenario_tool` command with its words, or a `cd`.
std::vector<std::vector<std::string>> worked_example_commands(const std::string& readme) {
  std::vector<std::vector<std::string>> commands;
  for (const std::string& line : indented_block_after(readme, "A worked example:")) {
    std::istringstream words(line);
    std::vector<std::string> command;
    for (std::string word; words >> word;) command.push_back(word);
    if (!command.empty()) commands.push_back(command);
  }
  return commands;
}

void replace_once(std::string& text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  ASSERT_NE(at, std::string::npos) << from;
  text.replace(at, from.size(), to);
}

// The README's worked example, from its commands to the diagnostics it shows.
class ReadmeWorkedExample : public testing::Test {
 protected:
  void SetUp() override {
    readme_ = read_page(README_PATH);
    ASSERT_FALSE(readme_.empty()) << README_PATH;
    commands_ = worked_example_commands(readme_);
    ASSERT_EQ(commands_.size(), 3u);
    // scenario_tool example ~/scenario-work; cd ~/scenario-work; scenario_tool compile ...
    ASSERT_EQ(commands_[0].front(), "scenario_tool");
    ASSERT_EQ(commands_[1].front(), "cd");
    ASSERT_EQ(commands_[2].front(), "scenario_tool");
  }

  // Runs the example's commands with the home folder `~` in a test folder;
  // returns what the last one, the compile, did.
  tool_result run_commands() {
    const auto home = [&](std::string word) {
      if (word.rfind("~/", 0) == 0) word = (folder_ / word.substr(2)).string();
      return word;
    };
    std::vector<std::string> example(commands_[0].begin() + 1, commands_[0].end());
    for (std::string& word : example) word = home(word);
    if (!std::filesystem::exists(home(commands_[1][1]))) {
      const tool_result made = run_tool(example);
      EXPECT_EQ(made.status, 0) << made.err;
    }
    const in_folder there(home(commands_[1][1]));
    return run_tool(std::vector<std::string>(commands_[2].begin() + 1, commands_[2].end()));
  }

  std::filesystem::path work() const { return folder_ / "scenario-work"; }

  std::string readme_;
  std::vector<std::vector<std::string>> commands_;
  testing_support::temp_folder folder_;
};

TEST_F(ReadmeWorkedExample,
       TheShippedTextsCompileWithNoDiagnosticThenTheMistakesPrintWhatTheReadmeShows) {
  const tool_result clean = run_commands();
  EXPECT_EQ(clean.status, 0) << clean.err;
  EXPECT_EQ(clean.err, "");
  // The one line that says where the files went, as the README quotes it.
  const std::string wrote =
      "wrote Brisena_Tarvo_linea.dat, Brisena_Tarvo_47306.sim and Brisena_Tarvo_47306.dat into "
      "compiled";
  EXPECT_EQ(clean.out, wrote + "\n");
  EXPECT_NE(readme_.find("`" + wrote + "`"), std::string::npos);
  for (const char* name :
       {"Brisena_Tarvo_linea.dat", "Brisena_Tarvo_47306.sim", "Brisena_Tarvo_47306.dat"}) {
    EXPECT_TRUE(std::filesystem::exists(work() / "compiled" / name)) << name;
  }

  // The two mistakes the README describes: the second signal moved onto the
  // cell of the first, and the second gradient's keyword misspelt.
  std::string train = platform::read_file(work() / "Brisena_Tarvo_47306-.txt");
  replace_once(train, "segnale,    2950,", "segnale,    1600,");
  platform::replace_file(work() / "Brisena_Tarvo_47306-.txt", train);
  std::string line = platform::read_file(work() / "Brisena_Tarvo_linea.txt");
  replace_once(line, "\r\npendenza,  1050,", "\r\npendnza,  1050,");
  platform::replace_file(work() / "Brisena_Tarvo_linea.txt", line);

  const tool_result faulty = run_commands();
  const std::vector<std::string> shown =
      indented_block_after(readme_, "<!-- worked example: output -->");
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(faulty.out, wrote + "\n");
  EXPECT_EQ(lines_of(faulty.err), shown);
  EXPECT_EQ(faulty.status, 1);
  EXPECT_NE(readme_.find("and ends with status 1"), std::string::npos);
}

// The keys the format reference's table lists for every diagnostic, in order.
std::vector<std::string> documented_diagnostic_keys(const std::string& reference) {
  std::vector<std::string> keys;
  const std::size_t table = reference.find("Every diagnostic carries all of these keys");
  if (table == std::string::npos) return keys;
  const std::regex key(R"(`([a-z_]+)`)");
  for (const std::string& line : lines_of(reference.substr(table))) {
    if (line.rfind("| `", 0) != 0) {
      if (!keys.empty()) break;
      continue;
    }
    const std::string first_cell = line.substr(1, line.find('|', 1) - 1);
    for (auto it = std::sregex_iterator(first_cell.begin(), first_cell.end(), key);
         it != std::sregex_iterator(); ++it) {
      keys.push_back((*it)[1]);
    }
  }
  return keys;
}

TEST_F(ReadmeWorkedExample, TheJsonOutputHasTheKeysTheReferenceDocuments) {
  const std::string reference = read_page(FORMAT_REFERENCE_PATH);
  const std::vector<std::string> documented = documented_diagnostic_keys(reference);
  ASSERT_EQ(documented.size(), 10u) << testing::PrintToString(documented);

  run_commands();
  std::string train = platform::read_file(work() / "Brisena_Tarvo_47306-.txt");
  replace_once(train, "segnale,    2950,", "segnale,    1600,");
  platform::replace_file(work() / "Brisena_Tarvo_47306-.txt", train);
  std::vector<std::string> args(commands_[2].begin() + 1, commands_[2].end());
  args.push_back("--json");
  const in_folder there(work());
  const tool_result result = run_tool(args);
  const nlohmann::json doc = nlohmann::json::parse(result.out);

  // The document's own keys, as the reference's example shows them.
  const std::size_t example = reference.find("{\"version\": 1,");
  ASSERT_NE(example, std::string::npos);
  for (const char* key :
       {"\"diagnostics\"", "\"errors\"", "\"warnings\"", "\"status\"", "\"files\""}) {
    EXPECT_NE(reference.find(key, example), std::string::npos) << key;
  }
  std::set<std::string> top;
  for (const auto& [key, value] : doc.items()) top.insert(key);
  EXPECT_EQ(top, (std::set<std::string>{"version", "diagnostics", "errors", "warnings", "status",
                                        "files"}));
  ASSERT_FALSE(doc["diagnostics"].empty());
  for (const nlohmann::json& diagnostic : doc["diagnostics"]) {
    std::vector<std::string> keys;
    for (const auto& [key, value] : diagnostic.items()) keys.push_back(key);
    std::sort(keys.begin(), keys.end());
    std::vector<std::string> sorted = documented;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(keys, sorted);
  }
  // The example's error: 16 at 1600 m, as the reference's example shows.
  EXPECT_EQ(doc["diagnostics"][0]["code"], 16);
  EXPECT_EQ(doc["diagnostics"][0]["position_m"], 1600);
  EXPECT_NE(reference.find("\"code\": 16", example), std::string::npos);
}

// Each named diagnostic's entry opens with its level by default in italics:
// "*Error by default.*", "*Warning.*", "*Off by default.*".
TEST(FormatReferenceLevels, EachDocumentedDefaultLevelIsTheToolsOwn) {
  const std::string reference = read_page(FORMAT_REFERENCE_PATH);
  for (const scenario_tool::warning_name& w : scenario_tool::warning_names()) {
    SCOPED_TRACE(std::string(w.name));
    const std::string heading = "### " + std::string(w.name) + "\n\n*";
    const std::size_t at = reference.find(heading);
    ASSERT_NE(at, std::string::npos);
    const std::size_t from = at + heading.size();
    const std::string level = reference.substr(from, reference.find(".*", from) - from);
    const scenario_tool::warning_level documented =
        level == "Error by default" ? scenario_tool::warning_level::error
        : level == "Off by default" ? scenario_tool::warning_level::off
        : level == "Warning" || level == "Warning by default"
            ? scenario_tool::warning_level::warning
            : static_cast<scenario_tool::warning_level>(-1);
    EXPECT_EQ(documented, w.by_default) << "the reference says '" << level << "'";
  }
}

}  // namespace
