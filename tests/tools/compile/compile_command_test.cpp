// The authors' tool's compile: the installer's compiled files byte for byte,
// the author's texts left alone, and the diagnostics of small faulty texts,
// each derived by hand from its rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

#include "driver/Form1.h"
#include "platform/replace_file.h"
#include "scenari/scenario_texts.h"
#include "scenario_tool/compile/compile_core.h"
#include "support/fake_platform.h"
#include "support/run_tool.h"
#include "support/temp_folder.h"
#include "tools/compile/compile_texts.h"

namespace {

using testing_support::run_tool;
using testing_support::temp_folder;
using testing_support::tool_result;
using namespace compile_texts;

TEST(ToolCompile, ShippedTextsGiveTheInstallersFilesByteForByteAndNoDiagnostic) {
  temp_folder folder;
  ASSERT_EQ(run_tool({"example", folder.path().string()}).status, 0);
  const std::string line_path = (folder / "Brisena_Tarvo_linea.txt").string();
  const std::string train_path = (folder / "Brisena_Tarvo_47306-.txt").string();
  const std::string line_text = platform::read_file(line_path);
  const std::string train_text = platform::read_file(train_path);
  const auto line_time = std::filesystem::last_write_time(line_path);

  const tool_result result =
      run_tool({"compile", line_path, train_path, "--out", (folder / "out").string()});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out,
            "wrote Brisena_Tarvo_linea.dat, Brisena_Tarvo_47306.sim and "
            "Brisena_Tarvo_47306.dat into " +
                (folder / "out").string() + "\n");

  // The installer's files from the shipped run: Form_Load writes the texts itself.
  temp_folder installed;
  testing_support::fake_platform platform(installed.path().string());
  Form1 form(platform);
  form.Form_Load();
  ASSERT_EQ(form.model.error_code, 0);
  for (const char* name :
       {"Brisena_Tarvo_linea.dat", "Brisena_Tarvo_47306.sim", "Brisena_Tarvo_47306.dat"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(platform::read_file(folder / "out" / name), installed.read(name));
  }
  // The author's texts are neither changed nor moved.
  EXPECT_EQ(platform::read_file(line_path), line_text);
  EXPECT_EQ(platform::read_file(train_path), train_text);
  EXPECT_EQ(std::filesystem::last_write_time(line_path), line_time);
}

TEST(ToolCompile, NoPlanWritesWhatTheInstallerWritesWithJ0) {
  const std::string line_text = scenari::render_lines(scenari::linea_lines());
  const std::string train_text = scenari::render_lines(scenari::treno_lines());
  const installer_compile installer =
      compile_as_installer(line_text, train_text, "Brisena_Tarvo", "47306", 0);
  ASSERT_EQ(installer.files.count("Brisena_Tarvo_linea.dat"), 0u);

  temp_folder folder;
  platform::replace_file(folder / "line.txt", line_text);
  platform::replace_file(folder / "train.txt", train_text);
  const tool_result result = run_tool(
      {"compile", (folder / "line.txt").string(), (folder / "train.txt").string(), "--route",
       "Brisena_Tarvo", "--train", "47306", "--no-plan", "--out", (folder / "out").string()});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  std::map<std::string, std::string> tool_files;
  for (const auto& entry : std::filesystem::directory_iterator(folder / "out")) {
    tool_files[entry.path().filename().string()] = platform::read_file(entry.path());
  }
  EXPECT_EQ(tool_files, installer.files);
}

TEST(ToolCompile, IdentityComesFromTheNamesOrMustBeGiven) {
  temp_folder folder;
  platform::replace_file(folder / "Alta_Via_linea.txt", crlf(small_line));
  platform::replace_file(folder / "Alta_Via_9_12-.txt", crlf(small_train));
  platform::replace_file(folder / "line.txt", crlf(small_line));
  platform::replace_file(folder / "train.txt", crlf(small_train));
  const std::string out = (folder / "out").string();

  // Route "Alta_Via", train "9_12", taken from the names.
  const tool_result named = run_tool({"compile", (folder / "Alta_Via_linea.txt").string(),
                                      (folder / "Alta_Via_9_12-.txt").string(), "--out", out});
  EXPECT_EQ(named.status, 0) << named.err;
  EXPECT_TRUE(std::filesystem::exists(folder / "out" / "Alta_Via_9_12.sim"));
  EXPECT_TRUE(std::filesystem::exists(folder / "out" / "Alta_Via_linea.dat"));

  const std::vector<std::vector<std::string>> unnamed = {
      {"compile", (folder / "line.txt").string(), (folder / "train.txt").string()},
      {"compile", (folder / "line.txt").string(), (folder / "train.txt").string(), "--route", "X"},
      {"compile", (folder / "Alta_Via_linea.txt").string(), (folder / "train.txt").string()},
  };
  for (const auto& args : unnamed) {
    SCOPED_TRACE(testing::PrintToString(args));
    const tool_result result = run_tool(args);
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err.rfind("scenario_tool compile: ", 0), 0u) << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
  }

  const tool_result given =
      run_tool({"compile", (folder / "line.txt").string(), (folder / "train.txt").string(),
                "--route", "X", "--train", "7", "--out", out});
  EXPECT_EQ(given.status, 0) << given.err;
  EXPECT_TRUE(std::filesystem::exists(folder / "out" / "X_7.dat"));
}

TEST(ToolCompile, AStoppedRunLeavesOlderCompiledFilesAlone) {
  const texts_in_folder texts(crlf({"[generale]", "lunghezza percorso, 1000", "[cartelli]",
                                    "cartello_indicatore, 0, STAZIONE", "[fine]"}),
                              crlf(small_train));
  std::filesystem::create_directories(texts.folder / "out");
  platform::replace_file(texts.folder / "out" / "R_1.dat", "older");
  EXPECT_EQ(texts.compile().status, 1);
  EXPECT_EQ(texts.compiled(), (std::map<std::string, std::string>{{"R_1.dat", "older"}}));
}

TEST(ToolCompile, JsonCarriesTheSameDiagnostics) {
  const texts_in_folder texts(
      crlf(small_line),
      crlf(train_with({"segnale, 650, 1, 1,0,0,0, 0,0,0,0, 0",
                       "segnale, 700, 1, 1,0,0,0, 0,0,0,0, 0",
                       "segnale, 750, 1, 1,0,0,0, 0,0,0,0, 0",
                       "rallentamento, 1000, 60, 100, 0, 0, 0", "sabbia, 70000"})));
  const tool_result result = texts.compile({"--json"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "");
  const nlohmann::json doc = nlohmann::json::parse(result.out);
  EXPECT_EQ(doc["errors"], 1);
  EXPECT_EQ(doc["warnings"], 1);
  EXPECT_EQ(doc["status"], 1);
  EXPECT_EQ(doc["files"].size(), 3u);
  ASSERT_EQ(doc["diagnostics"].size(), 2u);
  // Reading order: the sand row's warning comes before the walk's error.
  const nlohmann::json& warning = doc["diagnostics"][0];
  EXPECT_EQ(warning["severity"], "warning");
  EXPECT_EQ(warning["line"], 6);
  EXPECT_EQ(warning["column"], 9);
  EXPECT_EQ(warning["message"],
            "sand 70000 does not fit a 16-bit field: only its low 16 bits are kept (4464)");
  const nlohmann::json& error = doc["diagnostics"][1];
  EXPECT_EQ(error["severity"], "error");
  EXPECT_EQ(error["file"], texts.train_path);
  EXPECT_EQ(error["line"], 5);
  EXPECT_EQ(error["column"], 16);
  EXPECT_EQ(error["code"], 12);
  EXPECT_EQ(error["position_m"], 1050);
  EXPECT_EQ(error["row"], "rallentamento, 1000, 60, 100, 0, 0, 0");

  // One shape for every diagnostic: the same keys, null where a value does not apply.
  EXPECT_EQ(doc["version"], 1);
  const std::set<std::string> keys = {"file", "line", "column",  "end_column", "severity",
                                      "code", "name", "message", "position_m", "row"};
  for (const nlohmann::json& d : doc["diagnostics"]) {
    std::set<std::string> present;
    for (const auto& item : d.items()) present.insert(item.key());
    EXPECT_EQ(present, keys) << d.dump();
  }
  EXPECT_EQ(warning["end_column"], 14);  // "70000" at column 9
  EXPECT_TRUE(warning["code"].is_null());
  EXPECT_TRUE(warning["position_m"].is_null());
  EXPECT_EQ(error["end_column"], 20);  // "1000" at column 16
}

TEST(ToolCompile, JsonOfAStopHasNullsWhereThereIsNoPlace) {
  const texts_in_folder texts(crlf({"[generale]", "[curve]", "[fine]"}), crlf(small_train));
  const tool_result result = texts.compile({"--json"});
  EXPECT_EQ(result.status, 1);
  const nlohmann::json doc = nlohmann::json::parse(result.out);
  ASSERT_FALSE(doc["diagnostics"].empty());
  const nlohmann::json& stop = doc["diagnostics"].back();
  for (const char* key : {"line", "column", "end_column", "code", "name", "position_m", "row"}) {
    EXPECT_TRUE(stop.contains(key) && stop[key].is_null()) << key << ": " << stop.dump();
  }
  EXPECT_EQ(stop["severity"], "error");
  EXPECT_TRUE(stop["message"].is_string());
}

TEST(ToolCompile, TextsGivenInTheOtherOrderAreReadInTheirOwn) {
  temp_folder folder;
  platform::replace_file(folder / "Alta_Via_linea.txt", crlf(small_line));
  platform::replace_file(folder / "Alta_Via_9-.txt", crlf(small_train));
  const tool_result swapped =
      run_tool({"compile", (folder / "Alta_Via_9-.txt").string(),
                (folder / "Alta_Via_linea.txt").string(), "--out", (folder / "out").string()});
  EXPECT_EQ(swapped.status, 0) << swapped.err;
  EXPECT_EQ(swapped.err, "scenario_tool compile: note: " + (folder / "Alta_Via_9-.txt").string() +
                             " is a train text and " + (folder / "Alta_Via_linea.txt").string() +
                             " a line text: they are read in that order\n");
  EXPECT_TRUE(std::filesystem::exists(folder / "out" / "Alta_Via_9.sim"));
  EXPECT_TRUE(std::filesystem::exists(folder / "out" / "Alta_Via_linea.dat"));
}

TEST(ToolCompile, WerrorTurnsWarningsIntoErrors) {
  const texts_in_folder texts(crlf(small_line), crlf(train_with({"velocita, 130, 100"})));
  const tool_result plain = texts.compile();
  EXPECT_EQ(plain.status, 0);
  const tool_result strict = texts.compile({"--werror"});
  EXPECT_EQ(strict.status, 1);
  EXPECT_NE(strict.err.find(":2:11: error: chainage 130 m"), std::string::npos) << strict.err;
  EXPECT_NE(strict.err.find("\n1 error, 0 warnings\n"), std::string::npos) << strict.err;
}

TEST(ToolCompile, EditorChangesAreNamedAndCompileAsTheReaderReadsThem) {
  // LF line ends: the same compiled files as with CR LF, read the same way and
  // so not worth a word unless asked for (one warning per text).
  std::string line_lf = replace_all(crlf(small_line), "\r\n", "\n");
  std::string train_lf = replace_all(crlf(small_train), "\r\n", "\n");
  const texts_in_folder with_lf(line_lf, train_lf);
  const tool_result lf = with_lf.compile();
  EXPECT_EQ(lf.status, 0);
  EXPECT_EQ(lf.err, "");
  const tool_result lf_asked = with_lf.compile({"-W", "line-ends"});
  EXPECT_EQ(lf_asked.status, 0);
  EXPECT_EQ(lf_asked.err,
            with_lf.line_path +
                ":1:11: warning: this line ends with LF alone, not CR LF (an editor may have "
                "changed it): it is read as a line end all the same [line-ends]\n"
                "    [generale]\n"
                "              ^\n" +
                with_lf.train_path +
                ":1:11: warning: this line ends with LF alone, not CR LF (an editor may have "
                "changed it): it is read as a line end all the same [line-ends]\n"
                "    [generale]\n"
                "              ^\n"
                "0 errors, 2 warnings\n");
  const texts_in_folder with_crlf(crlf(small_line), crlf(small_train));
  EXPECT_EQ(with_crlf.compile().err, "");
  EXPECT_EQ(with_lf.compiled(), with_crlf.compiled());

  // A station name saved as UTF-8 ("CITTÀ": C3 80) is read as two characters.
  const texts_in_folder utf8(
      crlf(small_line),
      crlf(train_with({"stazione, 500, 12, 200, 0,0,0, 0,0,0, 0,0,0, 1, 10,0,0, CITT\xC3\x80"})));
  const tool_result u = utf8.compile();
  EXPECT_EQ(u.status, 0);
  EXPECT_NE(u.err.find(utf8.train_path +
                       ":2:61: warning: the text looks like UTF-8 (an editor may have converted "
                       "it): it is read as Windows-1252, each accented letter as two or more "
                       "characters [encoding]\n"),
            std::string::npos)
      << u.err;

  // A byte order mark, and lines ended by CR alone.
  const texts_in_folder marked("\xEF\xBB\xBF" + crlf(small_line),
                               replace_all(crlf(small_train), "\r\n", "\r"));
  const tool_result m = marked.compile({"-W", "line-ends"});
  EXPECT_EQ(m.status, 0);
  EXPECT_NE(m.err.find(marked.line_path +
                       ":1:1: warning: the text begins with a UTF-8 byte order mark: its three "
                       "bytes are read as Windows-1252 characters of the first field (an editor "
                       "may have added it) [encoding]\n"),
            std::string::npos)
      << m.err;
  EXPECT_NE(m.err.find(marked.train_path +
                       ":1:11: warning: this line ends with CR alone, not CR LF: it is read as a "
                       "line end all the same [line-ends]\n"),
            std::string::npos)
      << m.err;
  EXPECT_NE(m.err.find("\n0 errors, 2 warnings\n"), std::string::npos) << m.err;
  EXPECT_NE(marked.compile().err.find("\n0 errors, 1 warning\n"), std::string::npos);
  EXPECT_EQ(marked.compiled(), with_crlf.compiled());

  // A byte that Windows-1252 leaves undefined.
  const texts_in_folder undefined(crlf(small_line),
                                  crlf(train_with({"stazione, 500, 12, 200, 0,0,0, 0,0,0, "
                                                   "0,0,0, 1, 10,0,0, A\x81"})));
  EXPECT_NE(undefined.compile().err.find(":2:58: warning: byte 0x81 is not a Windows-1252 "
                                         "character: it is read as part of its field [encoding]\n"),
            std::string::npos);
}

TEST(ToolCompile, HelpStatesTheDiagnosticsAndTheExitStatuses) {
  const tool_result help = run_tool({"compile", "--help"});
  EXPECT_EQ(help.status, 0);
  for (const char* words : {"LINE_TEXT", "TRAIN_TEXT", "--route", "--train", "--out", "--no-plan",
                            "--json", "--werror", "FILE:LINE:COLUMN",
                            "Exit status: 0 compiled with no error (warnings allowed), 1 an error "
                            "was recorded or the run stopped, 2 the command line could not be "
                            "understood."}) {
    EXPECT_NE(help.out.find(words), std::string::npos) << words;
  }
}

TEST(ToolCompile, ATextThatCannotBeReadStopsWithStatus1) {
  const texts_in_folder texts(crlf(small_line), crlf(small_train));
  const tool_result result =
      run_tool({"compile", texts.line_path, (texts.folder / "R_2-.txt").string(), "--out",
                (texts.folder / "out").string()});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err.rfind("scenario_tool: error: cannot read the texts: ", 0), 0u) << result.err;
  EXPECT_EQ(texts.compiled().size(), 0u);
}

}  // namespace
