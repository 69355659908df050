// The language server on the shipped scenario's texts in a folder of their
// own: diagnostics of the whole compile for both texts as they change in the
// editor, the pairing by file names, hover, outline and completion.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "platform/replace_file.h"
#include "scenari/scenario_texts.h"
#include "scenario_tool/lsp/file_uri.h"
#include "scenario_tool/shared/windows_1252.h"
#include "support/temp_folder.h"
#include "tools/lsp/lsp_session.h"
#include "tools/lsp/scenario_texts_session.h"

namespace {

using nlohmann::json;
using testing_support::lsp_session;
using testing_support::temp_folder;

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end = text.find("\r\n"); end != std::string::npos;
       end = text.find("\r\n", start)) {
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// The index of the first line that begins with `start`.
int line_starting(const std::string& text, const std::string& start) {
  const std::vector<std::string> lines = lines_of(text);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].rfind(start, 0) == 0) return static_cast<int>(i);
  }
  ADD_FAILURE() << "no line begins with " << start;
  return 0;
}

// The shipped texts as Brisena_Tarvo_linea.txt and Brisena_Tarvo_47306-.txt.
using shipped_folder = testing_support::scenario_texts;
using testing_support::editor_utf8;

json at(int line, int character) {
  return {{"line", line}, {"character", character}};
}

TEST(LanguageServer, ShippedScenarioIsCleanAndNothingIsWritten) {
  shipped_folder s;
  lsp_session session;
  session.initialize();
  session.open(s.line_uri, editor_utf8(s.line));
  session.open(s.train_uri, editor_utf8(s.train));
  EXPECT_EQ(session.diagnostics(s.line_uri), json::array());
  EXPECT_EQ(session.diagnostics(s.train_uri), json::array());
  // A change compiles again; the folder keeps its two texts as they were.
  session.edit(s.train_uri, 0, 0, 0, "");
  EXPECT_EQ(s.folder.names(),
            (std::set<std::string>{"Brisena_Tarvo_47306-.txt", "Brisena_Tarvo_linea.txt"}));
  EXPECT_EQ(platform::read_file(s.folder / "Brisena_Tarvo_47306-.txt"), s.train);
  EXPECT_TRUE(session.notifications("window/showMessage").empty());
}

TEST(LanguageServer, KeywordTypoIsShownAtItsPlaceAndClearedWhenFixed) {
  shipped_folder s;
  lsp_session session;
  session.initialize();
  session.open(s.train_uri, editor_utf8(s.train));  // the line text comes from disk
  const int row = line_starting(s.train, "segnale,");
  session.edit(s.train_uri, row, 0, 7, "segnalx");
  const json found = session.diagnostics(s.train_uri);
  ASSERT_EQ(found.size(), 1u) << found.dump();
  EXPECT_EQ(found[0]["range"]["start"], at(row, 0));
  EXPECT_EQ(found[0]["range"]["end"], at(row, 7));
  EXPECT_EQ(found[0]["severity"], 1);  // a keyword typo is an error, as in compile
  EXPECT_EQ(found[0]["code"], "keyword-typo");
  const std::string message = found[0]["message"];
  EXPECT_NE(message.find("did you mean"), std::string::npos) << message;
  EXPECT_NE(message.find("'segnale'"), std::string::npos) << message;

  session.edit(s.train_uri, row, 0, 7, "segnale");
  EXPECT_EQ(session.diagnostics(s.train_uri), json::array());
}

TEST(LanguageServer, AChangeInTheLineTextIsCheckedWithTheOpenTrainText) {
  shipped_folder s;
  lsp_session session;
  session.initialize();
  session.open(s.line_uri, editor_utf8(s.line));
  session.open(s.train_uri, editor_utf8(s.train));
  // A sign at 1600 m takes cell 1600 / 50 + 1 = 33, where the train text's first
  // signal, "segnale,    1600, ...", then finds no room: error 16 at its chainage.
  const int end_row = line_starting(s.line, "[fine]");
  session.edit(s.line_uri, end_row, 0, 0, "cartello_indicatore, 1600, X\r\n");
  const int signal_row = line_starting(s.train, "segnale,    1600");
  const json train = session.diagnostics(s.train_uri);
  // The error names what holds the cell; a note at the same row, its related
  // information, says what the stop left unread.
  ASSERT_EQ(train.size(), 1u) << train.dump();
  EXPECT_EQ(train[0]["code"], 16);
  EXPECT_EQ(train[0]["severity"], 1);
  EXPECT_EQ(train[0]["range"]["start"], at(signal_row, 12));
  EXPECT_EQ(train[0]["range"]["end"], at(signal_row, 16));
  EXPECT_NE(train[0]["message"].get<std::string>().find("holds sign 'X'"), std::string::npos);
  ASSERT_EQ(train[0]["relatedInformation"].size(), 1u) << train.dump();
  const json& note = train[0]["relatedInformation"][0];
  EXPECT_EQ(note["location"]["uri"], s.train_uri);
  EXPECT_EQ(note["location"]["range"]["start"]["line"], signal_row);
  EXPECT_NE(note["message"].get<std::string>().find("were not read"), std::string::npos);
  EXPECT_EQ(session.diagnostics(s.line_uri), json::array());

  // The whole text replaced at once (full sync) puts it right again.
  session.notify("textDocument/didChange",
                 {{"textDocument", {{"uri", s.line_uri}, {"version", 9}}},
                  {"contentChanges", json::array({{{"text", editor_utf8(s.line)}}})}});
  EXPECT_EQ(session.diagnostics(s.train_uri), json::array());
  EXPECT_EQ(session.diagnostics(s.line_uri), json::array());
}

TEST(LanguageServer, TextsNamedByAManifestAreCheckedTogether) {
  temp_folder folder;
  platform::replace_file(folder / "scenario.toml",
                         "route = \"Brisena_Tarvo\"\ntrain = \"47306\"\n\n[texts]\n"
                         "line = \"line.txt\"\ntrain = \"train.txt\"\n");
  const std::string line = scenari::render_lines(scenari::linea_lines());
  const std::string train = scenari::render_lines(scenari::treno_lines());
  platform::replace_file(folder / "line.txt", line);
  const std::string train_uri = scenario_tool::lsp::uri_from_path(folder / "train.txt");
  lsp_session session;
  session.initialize();
  session.open(train_uri, editor_utf8(train));
  // Paired through the manifest: nothing is said of a text checked alone,
  // and the shipped pair is clean.
  EXPECT_EQ(session.notifications("window/showMessage").size(), 0u);
  EXPECT_EQ(session.diagnostics(train_uri), json::array());
  // A signal's cell taken from the line text is found across the pair.
  std::string edited = line;
  edited.insert(edited.find("[fine]"), "cartello_indicatore, 1600, X\r\n");
  platform::replace_file(folder / "line.txt", edited);
  session.edit(train_uri, 0, 0, 0, "");
  const json found = session.diagnostics(train_uri);
  ASSERT_FALSE(found.empty());
  EXPECT_EQ(found[0]["code"], 16) << found.dump();
}

TEST(LanguageServer, ATrainTextWhoseLineTextVanishesIsCheckedAloneAndSaysSoOnce) {
  shipped_folder s;
  lsp_session session;
  session.initialize();
  session.open(s.train_uri, editor_utf8(s.train));
  std::filesystem::remove(s.folder / "Brisena_Tarvo_linea.txt");
  const int row = line_starting(s.train, "segnale,");
  session.edit(s.train_uri, row, 0, 7, "segnalx");
  session.edit(s.train_uri, row, 0, 0, " ");
  const std::vector<json> said = session.notifications("window/showMessage");
  ASSERT_EQ(said.size(), 1u);
  EXPECT_NE(said[0]["params"]["message"].get<std::string>().find("alone"), std::string::npos);
  // Checked alone, the typo is still found.
  const json found = session.diagnostics(s.train_uri);
  ASSERT_EQ(found.size(), 1u) << found.dump();
  EXPECT_EQ(found[0]["range"]["start"], at(row, 1));
}

TEST(LanguageServer, ColumnsCountCharactersNotBytes) {
  shipped_folder s;
  lsp_session session;
  session.initialize();
  session.open(s.train_uri, editor_utf8(s.train));
  const int row = line_starting(s.train, "segnale,");
  // "-è-, " is a comment field of five characters (six bytes in UTF-8).
  session.edit(s.train_uri, row, 0, 7, "-\xC3\xA8-, segnalx");
  const json found = session.diagnostics(s.train_uri);
  ASSERT_EQ(found.size(), 1u) << found.dump();
  EXPECT_EQ(found[0]["range"]["start"], at(row, 5));
}

std::string hover_text(lsp_session& session, const std::string& uri, int line, int character) {
  const json answer = session.request(
      "textDocument/hover", {{"textDocument", {{"uri", uri}}}, {"position", at(line, character)}});
  if (!answer.contains("result") || answer["result"].is_null()) return "";
  return answer["result"]["contents"]["value"];
}

TEST(LanguageServer, HoverShowsValuesChainageAndCells) {
  shipped_folder s;
  lsp_session session;
  session.initialize();
  session.open(s.train_uri, editor_utf8(s.train));

  // "stazione,    4250, 12,  600, ...": end 4250 + 300 = 4550, stop point in cell 4550 / 50 - 1
  // = 90.
  const std::string station =
      hover_text(session, s.train_uri, line_starting(s.train, "stazione,    4250"), 2);
  for (const char* part : {"**stazione**", "platform length: 600 m", "km 4+250", "cell 90",
                           "station stop point", "CASTELNUOVO"}) {
    EXPECT_NE(station.find(part), std::string::npos) << part << " in\n" << station;
  }
  // "segnale,    1600, 2, 4, 1, 0, 0, 1, 3,1,0, 205": cell 1600 / 50 + 1 = 33, kind 1, value 43.
  const std::string signal =
      hover_text(session, s.train_uri, line_starting(s.train, "segnale,    1600"), 20);
  for (const char* part :
       {"**segnale**", "chainage: 1600 m", "signal time: 205 s", "km 1+600", "cell 33",
        "signal (kind 1), value 43, value2 11",
        // The packed numbers read back into the row's values, as dump reads them.
        "S1 4, D1 3; S2 1, D2 1; S3 0, D3 0; RAPP 0, SX 2, DX 1",
        "71 in cell 31 (a signal 100 m ahead (SX 2, DX 1))"}) {
    EXPECT_NE(signal.find(part), std::string::npos) << part << " in\n" << signal;
  }
  // "rallentamento,   16850,   115,  600, 0,  1,  0": warning 314, start 338, end 350, markers 310
  // to 313.
  const std::string slowdown =
      hover_text(session, s.train_uri, line_starting(s.train, "rallentamento,   16850"), 0);
  for (const char* part :
       {"cell 314 (15700 m): slowdown warning point", "cell 338 (16900 m): slowdown start",
        "cell 350 (17500 m): slowdown end", "cell 310 (15500 m): slowdown approach marker",
        "placed by the walk for this row",
        // The posts restart at 12800 m (the shipped kilometric reference).
        "chainage: 16850 m, km 4+050 on the kilometre posts"}) {
    EXPECT_NE(slowdown.find(part), std::string::npos) << part << " in\n" << slowdown;
  }

  const int row = line_starting(s.train, "segnale,");
  session.edit(s.train_uri, row, 0, 7, "sengale");
  const std::string unknown = hover_text(session, s.train_uri, row, 1);
  EXPECT_NE(unknown.find("matches no keyword"), std::string::npos) << unknown;
  EXPECT_NE(unknown.find("Nearest keyword: **segnale**"), std::string::npos) << unknown;
  // Blank lines far from any row have no hover.
  EXPECT_EQ(hover_text(session, s.train_uri, 100000, 0), "");
}

TEST(LanguageServer, OutlineListsSectionsWithTheirObjectsByChainage) {
  shipped_folder s;
  lsp_session session;
  session.initialize();
  session.open(s.train_uri, editor_utf8(s.train));
  const json symbols = session.request("textDocument/documentSymbol",
                                       {{"textDocument", {{"uri", s.train_uri}}}})["result"];
  std::map<std::string, json> sections;
  for (const json& symbol : symbols) sections[symbol["name"]] = symbol["children"];
  ASSERT_TRUE(sections.count("[stazioni]"));
  const json& stations = sections["[stazioni]"];
  ASSERT_EQ(stations.size(), 18u);  // the shipped train text's stations
  EXPECT_EQ(stations[0]["name"], "BRISENA");
  EXPECT_EQ(stations[0]["detail"], "0 m, km 0+000 on the kilometre posts");
  EXPECT_EQ(stations[1]["name"], "CASTELNUOVO DI VALSERENA");
  EXPECT_EQ(stations[1]["range"]["start"]["line"], line_starting(s.train, "stazione,    4250"));
  ASSERT_TRUE(sections.count("[segnali]"));
  ASSERT_FALSE(sections["[segnali]"].empty());
  EXPECT_EQ(sections["[segnali]"][0]["name"], "signal km 1+600");
  ASSERT_TRUE(sections.count("[rallentamenti]"));
  ASSERT_FALSE(sections["[rallentamenti]"].empty());
  // Past the shipped kilometric reference at 12800 m the posts restart: the
  // outline reads them, and its detail keeps the chainage written.
  EXPECT_EQ(sections["[rallentamenti]"][0]["name"], "slowdown 115 km/h km 4+050");
  EXPECT_EQ(sections["[rallentamenti]"][0]["detail"], "16850 m, km 4+050 on the kilometre posts");
}

TEST(LanguageServer, CompletionOffersTheKeywordsOfThatPartWithTheirValues) {
  shipped_folder s;
  lsp_session session;
  session.initialize(true);
  session.open(s.line_uri, editor_utf8(s.line));
  session.open(s.train_uri, editor_utf8(s.train));
  const auto labels = [&](const std::string& uri, int line, int character) {
    std::map<std::string, json> found;
    const json items = session.request(
        "textDocument/completion",
        {{"textDocument", {{"uri", uri}}}, {"position", at(line, character)}})["result"];
    for (const json& item : items) found[item["label"]] = item;
    return found;
  };
  const int signal_row = line_starting(s.train, "segnale,");
  auto train = labels(s.train_uri, signal_row, 3);
  ASSERT_TRUE(train.count("segnale"));
  EXPECT_EQ(train["segnale"]["insertTextFormat"], 2);
  const std::string snippet = train["segnale"]["textEdit"]["newText"];
  EXPECT_EQ(snippet.rfind("segnale, ${1:chainage}, ${2:left kind}", 0), 0u) << snippet;
  EXPECT_NE(snippet.find("${11:signal time}$0"), std::string::npos) << snippet;
  EXPECT_EQ(train["segnale"]["textEdit"]["range"]["end"], at(signal_row, 3));
  EXPECT_FALSE(train.count("pendenza"));
  // After a comma the field is a value: nothing to complete.
  EXPECT_TRUE(labels(s.train_uri, signal_row, 12).empty());

  // The line text's header and body have keywords of their own.
  auto header = labels(s.line_uri, line_starting(s.line, "lunghezza percorso"), 0);
  EXPECT_TRUE(header.count("lunghezza percorso"));
  EXPECT_FALSE(header.count("pendenza"));
  auto body = labels(s.line_uri, line_starting(s.line, "pendenza"), 0);
  EXPECT_TRUE(body.count("pendenza"));
  EXPECT_TRUE(body.count("curva"));
  EXPECT_FALSE(body.count("lunghezza percorso"));
}

// The folder is listed when a text in it is opened or saved, not on each
// change: a train text put beside the line text outside the editor is its
// partner from the next save on.
TEST(LanguageServer, AFolderIsListedOnOpenAndSaveNotOnEachChange) {
  shipped_folder s;
  std::filesystem::remove(s.folder / "Brisena_Tarvo_47306-.txt");
  lsp_session session;
  session.initialize();
  session.open(s.line_uri, editor_utf8(s.line));
  platform::replace_file(s.folder / "Brisena_Tarvo_47306-.txt", s.train);
  session.edit(s.line_uri, 0, 0, 0, " ");
  session.edit(s.line_uri, 0, 0, 1, "");
  EXPECT_TRUE(session.diagnostics(s.train_uri).is_null());
  session.notify("textDocument/didSave", {{"textDocument", {{"uri", s.line_uri}}}});
  session.edit(s.line_uri, 0, 0, 0, " ");
  session.edit(s.line_uri, 0, 0, 1, "");
  EXPECT_EQ(session.diagnostics(s.train_uri), json::array());
}

// A partner is read only from inside the folder: not through a link leading
// out, not by a manifest's absolute name.
TEST(LanguageServer, APartnerOutsideTheFolderIsNeverRead) {
  temp_folder outside;
  platform::replace_file(outside / "train.txt", scenari::render_lines(scenari::treno_lines()));
#ifndef _WIN32
  {
    SCOPED_TRACE("a link leading out");
    shipped_folder s;
    std::filesystem::remove(s.folder / "Brisena_Tarvo_47306-.txt");
    std::filesystem::create_symlink(outside / "train.txt", s.folder / "Brisena_Tarvo_47306-.txt");
    lsp_session session;
    session.initialize();
    session.open(s.line_uri, editor_utf8(s.line));
    EXPECT_TRUE(session.diagnostics(s.train_uri).is_null());
    const std::vector<json> said = session.notifications("window/showMessage");
    ASSERT_EQ(said.size(), 1u);
    EXPECT_NE(said[0]["params"]["message"].get<std::string>().find("outside the scenario folder"),
              std::string::npos)
        << said[0];
  }
#endif
  {
    SCOPED_TRACE("a manifest's absolute name");
    shipped_folder s;
    platform::replace_file(s.folder / "scenario.toml",
                           "route = \"Brisena_Tarvo\"\ntrain = \"47306\"\n[texts]\n"
                           "line = \"Brisena_Tarvo_linea.txt\"\ntrain = \"" +
                               (outside / "train.txt").generic_string() + "\"\n");
    lsp_session session;
    session.initialize();
    session.open(s.line_uri, editor_utf8(s.line));
    EXPECT_TRUE(
        session.diagnostics(scenario_tool::lsp::uri_from_path(outside / "train.txt")).is_null());
    const std::vector<json> said = session.notifications("window/showMessage");
    ASSERT_FALSE(said.empty());
    EXPECT_NE(said[0]["params"]["message"].get<std::string>().find("is an absolute path"),
              std::string::npos)
        << said[0];
  }
}

#ifndef _WIN32
// A note names a file as its name is, once encoded: "città", not "cittÃ ".
TEST(LanguageServer, ANoteNamesAFileInUtf8Once) {
  temp_folder folder;
  const std::string name = "citt\xC3\xA0_linea.txt";
  platform::replace_file(folder / name, scenari::render_lines(scenari::linea_lines()));
  lsp_session session;
  session.initialize();
  session.open(scenario_tool::lsp::uri_from_path(folder / name),
               editor_utf8(scenari::render_lines(scenari::linea_lines())));
  const std::vector<json> said = session.notifications("window/showMessage");
  ASSERT_EQ(said.size(), 1u);
  const std::string message = said[0]["params"]["message"].get<std::string>();
  EXPECT_EQ(message.rfind(name + ": no train text", 0), 0u) << message;
}

#endif

}  // namespace
