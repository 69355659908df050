// Which texts the server compiles together, and how the editor's UTF-8 and
// its edits become the bytes of a Windows-1252 text.
#include "scenario_tool/lsp/pairing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/replace_file.h"
#include "scenario_tool/lsp/file_uri.h"
#include "scenario_tool/lsp/text_document.h"
#include "support/temp_folder.h"

namespace {

using scenario_tool::lsp::pair_text;
using scenario_tool::lsp::scenario_pair;
using testing_support::temp_folder;

struct pairing_case {
  const char* name;
  std::vector<std::string> files;  // in the folder
  std::string open;                // the text checked
  std::string line;                // expected partner names, "" for none
  std::string train;
  std::string route;
  std::string train_number;
  bool note;
};

TEST(LspPairing, PairsTextsByTheirNamesInOneFolder) {
  const std::vector<pairing_case> cases = {
      {"line finds its train",
       {"R_linea.txt", "R_7-.txt", "S_8-.txt"},
       "R_linea.txt",
       "R_linea.txt",
       "R_7-.txt",
       "R",
       "7",
       false},
      {"train finds its line",
       {"R_linea.txt", "R_7-.txt"},
       "R_7-.txt",
       "R_linea.txt",
       "R_7-.txt",
       "R",
       "7",
       false},
      {"the longest route wins",
       {"A_linea.txt", "A_B_linea.txt", "A_B_9-.txt"},
       "A_B_9-.txt",
       "A_B_linea.txt",
       "A_B_9-.txt",
       "A_B",
       "9",
       false},
      {"several trains: the first, with a note",
       {"R_linea.txt", "R_2-.txt", "R_1-.txt"},
       "R_linea.txt",
       "R_linea.txt",
       "R_1-.txt",
       "R",
       "1",
       true},
      {"line alone", {"R_linea.txt", "Q_1-.txt"}, "R_linea.txt", "", "", "R", "", true},
      {"train alone", {"R_1-.txt"}, "R_1-.txt", "", "", "", "", true},
      {"other name", {"notes.txt", "R_linea.txt"}, "notes.txt", "", "", "", "", true},
  };
  for (const pairing_case& c : cases) {
    SCOPED_TRACE(c.name);
    temp_folder folder;
    for (const std::string& file : c.files) platform::replace_file(folder / file, "");
    const scenario_pair pair = pair_text(folder / c.open, "", {});
    EXPECT_EQ(pair.line.empty() ? "" : pair.line.filename().string(), c.line);
    EXPECT_EQ(pair.train.empty() ? "" : pair.train.filename().string(), c.train);
    EXPECT_EQ(pair.route_id, c.route);
    EXPECT_EQ(pair.train_number, c.train_number);
    EXPECT_EQ(!pair.note.empty(), c.note) << pair.note;
  }
}

TEST(LspPairing, ATextOpenInTheEditorButNotSavedIsAPartner) {
  temp_folder folder;
  platform::replace_file(folder / "R_linea.txt", "");
  const scenario_pair pair = pair_text(folder / "R_linea.txt", "", {folder / "R_5-.txt"});
  EXPECT_EQ(pair.train, folder / "R_5-.txt");
}

TEST(LspPairing, TheFoldersManifestPairsItsTextsWhateverTheirNames) {
  temp_folder folder;
  platform::replace_file(folder / "scenario.toml",
                         "route = \"Valle\"\ntrain = \"12\"\nplan = false\n\n[texts]\n"
                         "line = \"linea.txt\"\ntrain = \"treno.txt\"\n");
  for (const char* name : {"linea.txt", "treno.txt", "R_linea.txt", "R_3-.txt"}) {
    platform::replace_file(folder / name, "");
  }
  for (const char* text : {"linea.txt", "treno.txt"}) {
    SCOPED_TRACE(text);
    const scenario_pair pair = pair_text(folder / text, "", {});
    EXPECT_EQ(pair.line, folder / "linea.txt");
    EXPECT_EQ(pair.train, folder / "treno.txt");
    EXPECT_EQ(pair.route_id, "Valle");
    EXPECT_EQ(pair.train_number, "12");
    EXPECT_FALSE(pair.plan);
    EXPECT_EQ(pair.note, "");
  }
  // A text the manifest does not name pairs by its name, and says why.
  const scenario_pair other = pair_text(folder / "R_3-.txt", "", {});
  EXPECT_EQ(other.line, folder / "R_linea.txt");
  EXPECT_TRUE(other.plan);
  EXPECT_NE(other.note.find("scenario.toml beside it names other texts"), std::string::npos)
      << other.note;

  // A manifest that cannot be read is named with its fault; the names decide.
  platform::replace_file(folder / "scenario.toml", "route = \"Valle\"\ntrain = \n");
  const scenario_pair broken = pair_text(folder / "R_linea.txt", "", {});
  EXPECT_EQ(broken.train, folder / "R_3-.txt");
  EXPECT_NE(broken.note.find("scenario.toml"), std::string::npos) << broken.note;
  EXPECT_NE(broken.note.find("paired by their names"), std::string::npos) << broken.note;
}

TEST(LspText, EditorCharactersBecomeOneByteForEachUtf16Unit) {
  using scenario_tool::lsp::bytes_from_utf8;
  EXPECT_EQ(bytes_from_utf8("a\xC3\xA8\r\n"), "a\xE8\r\n");  // è
  EXPECT_EQ(bytes_from_utf8("\xE2\x82\xAC"), "\x80");        // €: its Windows-1252 byte
  EXPECT_EQ(bytes_from_utf8("\xC2\x81"), "\x81");            // a C1 control read as Latin-1
  EXPECT_EQ(bytes_from_utf8("\xE4\xB8\xAD"), "?");           // not in the code page
  EXPECT_EQ(bytes_from_utf8("\xF0\x9F\x98\x80x"), "??x");    // two UTF-16 units
  EXPECT_EQ(bytes_from_utf8("\xFF\xC3"), "??");              // no UTF-8
}

TEST(LspText, EditsLandAtLineAndCharacterWhateverTheLineEnds) {
  scenario_tool::lsp::text_document d("ab\r\ncd\nef\rgh");
  EXPECT_EQ(d.line_count(), 4u);
  d.replace({1, 1}, {2, 1}, "X");  // from "d" to "f" of "ef"
  EXPECT_EQ(d.bytes(), "ab\r\ncXf\rgh");
  d.replace({0, 99}, {0, 99}, "!");  // beyond a line's end: at its end
  EXPECT_EQ(d.bytes(), "ab!\r\ncXf\rgh");
  d.replace({9, 0}, {9, 0}, "#");  // beyond the last line: at the text's end
  EXPECT_EQ(d.bytes(), "ab!\r\ncXf\rgh#");
  d.replace({1, 2}, {0, 0}, "");  // start after end: the two are swapped
  EXPECT_EQ(d.bytes(), "f\rgh#");
}

TEST(LspText, FileUrisAndPathsGoBothWays) {
  using scenario_tool::lsp::path_from_uri;
  using scenario_tool::lsp::uri_from_path;
#ifndef _WIN32
  EXPECT_EQ(uri_from_path("/tmp/a b/Brisena_Tarvo_linea.txt"),
            "file:///tmp/a%20b/Brisena_Tarvo_linea.txt");
  EXPECT_EQ(path_from_uri("file:///tmp/a%20b/x.txt"), std::filesystem::path("/tmp/a b/x.txt"));
#endif
  EXPECT_FALSE(path_from_uri("untitled:Untitled-1"));
  EXPECT_FALSE(path_from_uri("file://server/share/x.txt"));
  EXPECT_FALSE(path_from_uri("file:///a%2"));
  EXPECT_FALSE(path_from_uri("file:///a%00b"));
}

}  // namespace
