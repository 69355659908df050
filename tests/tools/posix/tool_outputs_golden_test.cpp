// What the authors' tool prints, byte for byte as recorded (see
// support/golden.h): compile's report in text and JSON on faulty texts, dump
// of each compiled file, draw, explain, and a language-server exchange. The
// scratch folders' paths are shown as "{dir}".
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "platform/replace_file.h"
#include "scenari/scenario_texts.h"
#include "scenario_tool/lsp/file_uri.h"
#include "scenario_tool/shared/windows_1252.h"
#include "support/golden.h"
#include "support/run_tool.h"
#include "support/temp_folder.h"
#include "tools/lsp/scenario_texts_session.h"
#include "tools/shipped_compiled.h"

namespace {

using nlohmann::json;
using testing_support::expect_golden;
using testing_support::run_tool;
using testing_support::temp_folder;
using testing_support::tool_result;

std::string replace_all(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

std::string crlf(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// The status, then each stream under its name, with `folder` shown as {dir}
// and its own name (which draw's caption gives) as {folder}.
std::string shown(const tool_result& result, const std::filesystem::path& folder) {
  const std::string all = replace_all("status " + std::to_string(result.status) + "\n--- out\n" +
                                          result.out + "--- err\n" + result.err,
                                      folder.string(), "{dir}");
  return replace_all(all, folder.filename().string(), "{folder}");
}

struct faulty_texts {
  const char* name;
  std::vector<std::string> line;
  std::vector<std::string> train;
};

const std::vector<std::string> line_12 = {"[generale]", "lunghezza percorso, 12000", "[curve]",
                                          "pendenza, 0, 0", "[fine]"};
const std::vector<std::string> line_1 = {"[generale]", "lunghezza percorso, 1000", "[curve]",
                                         "pendenza, 0, 0", "[fine]"};

const faulty_texts faulty[] = {
    // Warnings and errors that let the reading go on.
    {"typos_roundings_and_rows_beyond_the_end",
     {"[generale]", "lunghezza percorso, 12000", "Sfondo uno, 3", "[curve]", "pendenza, 0, 0",
      "pendenza, 1175, 2", "pendnza, 1300, 1", "curvad2, 2000, 300", "pendenza, 12500, 2",
      "[fine]"},
     {"[generale]", "aderenza, 0, 100", "velocta, 0, 100", "banana, 5",
      "segnale, 1225, 1, 1,0,0,0, 0,0,0,0, 0", "rallentamento, 3000, 60, 130, 0, 0, 0",
      "stazione, 14000, 12, 200, 0,0,0, 0,0,0, 0,0,0, 1, 10,0,0, FAR", "velocita, 13000, 80",
      "[fine]"}},
    // A slowdown's warning point on a signal's cell: the reader stops.
    {"slowdown_warning_cell_occupied",
     {"[generale]", "lunghezza percorso, 5000", "[curve]", "pendenza, 0, 0", "[fine]"},
     {"[generale]", "segnale, 1750, 1, 1,0,0,0, 0,0,0,0, 0",
      "rallentamento, 2950, 60, 100, 0, 0, 0", "[fine]"}},
    // A signal in the check code's slot of the header cell: the run stops.
    {"signal_in_the_check_code_slot",
     line_1,
     {"[generale]", "segnale, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0", "[fine]"}},
    // A sign in the format tag's slot.
    {"sign_in_the_format_tag_slot",
     {"[generale]", "lunghezza percorso, 1000", "[cartelli]", "cartello_indicatore, 0, STAZIONE",
      "[fine]"},
     {"[generale]", "aderenza, 0, 100", "velocita, 0, 100", "[fine]"}},
    // Nothing read from the train text, a field too many on the line text.
    {"nothing_read_and_a_field_too_many",
     {"[generale]", "lunghezza percorso, 1000", "[curve]", "pendenza, 0, 0, 5", "[fine]"},
     {"[generle]", "velocita, 0, 100", "[fine]"}},
    // A station beyond the cells: the reader's own 15.
    {"station_beyond_the_line",
     line_1,
     {"[generale]", "stazione, 7500, 12, 200, 0,0,0, 0,0,0, 0,0,0, 1, 10,0,0, FAR", "[fine]"}},
};

TEST(GoldenOutputs, CompileReportsInTextAndJson) {
  for (const faulty_texts& c : faulty) {
    SCOPED_TRACE(c.name);
    temp_folder folder;
    const std::string line_path = (folder / "R_linea.txt").string();
    const std::string train_path = (folder / "R_1-.txt").string();
    platform::replace_file(line_path, crlf(c.line));
    platform::replace_file(train_path, crlf(c.train));
    const std::string out = (folder / "out").string();
    expect_golden(std::string("compile/") + c.name + ".txt",
                  shown(run_tool({"compile", line_path, train_path, "--out", out}), folder.path()));
    expect_golden(
        std::string("compile/") + c.name + ".json",
        shown(run_tool({"compile", line_path, train_path, "--out", out, "--json"}), folder.path()));
  }
}

TEST(GoldenOutputs, DumpOfEachCompiledFile) {
  const temp_folder& compiled = testing_support::shipped_compiled();
  for (const char* name : {testing_support::shipped_plan, testing_support::shipped_stations,
                           testing_support::shipped_cells}) {
    SCOPED_TRACE(name);
    const std::string file = (compiled / name).string();
    expect_golden(std::string("dump/") + name + ".txt",
                  shown(run_tool({"dump", file}), compiled.path()));
    expect_golden(std::string("dump/") + name + ".json",
                  shown(run_tool({"dump", file, "--json"}), compiled.path()));
  }
  // A window of cells, as an author narrows it.
  expect_golden("dump/cells_20_to_40.txt",
                shown(run_tool({"dump", (compiled / testing_support::shipped_cells).string(),
                                "--from", "20", "--to", "40"}),
                      compiled.path()));
}

TEST(GoldenOutputs, DrawFromTextsAndFromCompiledFiles) {
  temp_folder scenario;
  ASSERT_EQ(run_tool({"example", scenario.path().string()}).status, 0);
  expect_golden("draw/example_folder.svg.txt",
                shown(run_tool({"draw", scenario.path().string(), "--svg", "-"}), scenario.path()));
  const temp_folder& compiled = testing_support::shipped_compiled();
  expect_golden("draw/shipped_compiled.svg.txt",
                shown(run_tool({"draw", compiled.path().string(), "--svg", "-"}), compiled.path()));
  // A faulty text: the picture carries its errors.
  const faulty_texts& c = faulty[0];
  temp_folder folder;
  platform::replace_file(folder / "R_linea.txt", crlf(c.line));
  platform::replace_file(folder / "R_1-.txt", crlf(c.train));
  expect_golden("draw/faulty_texts.svg.txt",
                shown(run_tool({"draw", (folder / "R_linea.txt").string(),
                                (folder / "R_1-.txt").string(), "--svg", "-"}),
                      folder.path()));
}

TEST(GoldenOutputs, ExplainOfAKeywordACodeAWarningAndTheList) {
  const std::vector<std::vector<std::string>> topics = {
      {}, {"pendenza"}, {"stazione"}, {"16"}, {"1251"}, {"chainage-rounded"}, {"velocta"}};
  for (const auto& topic : topics) {
    std::vector<std::string> args = {"explain"};
    args.insert(args.end(), topic.begin(), topic.end());
    const std::string name = topic.empty() ? "list" : topic[0];
    SCOPED_TRACE(name);
    expect_golden("explain/" + name + ".txt", shown(run_tool(args), "/nonexistent"));
  }
}

int line_starting(const std::string& text, const std::string& start) {
  int line = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    if (text.compare(at, start.size(), start) == 0) return line;
    at = text.find("\r\n", at);
    if (at == std::string::npos) break;
    at += 2;
    ++line;
  }
  ADD_FAILURE() << "no line begins with " << start;
  return 0;
}

TEST(GoldenOutputs, ALanguageServerExchange) {
  testing_support::scenario_texts_session shipped;
  const std::string& line = shipped.line;
  const std::string& train = shipped.train;
  const std::string& line_uri = shipped.line_uri;
  const std::string& train_uri = shipped.train_uri;
  const temp_folder& folder = shipped.folder;
  const auto at = [](int l, int c) { return json{{"line", l}, {"character", c}}; };

  testing_support::lsp_session& session = shipped.session;
  shipped.open_both();
  const int signal = line_starting(train, "segnale,");
  const int station = line_starting(train, "stazione,");
  const int gradient = line_starting(line, "pendenza,");
  const json train_doc = {{"textDocument", {{"uri", train_uri}}}};
  const json line_doc = {{"textDocument", {{"uri", line_uri}}}};
  for (const auto& [uri, row, column] :
       std::vector<std::tuple<std::string, int, int>>{{train_uri, signal, 0},
                                                      {train_uri, signal, 10},
                                                      {train_uri, station, 11},
                                                      {line_uri, gradient, 0},
                                                      {line_uri, gradient, 11}}) {
    session.request("textDocument/hover",
                    {{"textDocument", {{"uri", uri}}}, {"position", at(row, column)}});
  }
  session.request("textDocument/documentSymbol", train_doc);
  session.request("textDocument/documentSymbol", line_doc);
  session.request("textDocument/completion",
                  {{"textDocument", {{"uri", train_uri}}}, {"position", at(signal, 3)}});
  // A typo, a rounded chainage and a row beyond the end, then mended.
  session.edit(train_uri, signal, 0, 7, "segnalx");
  session.edit(line_uri, gradient, 0, 8, "pendenza, 1175, 2\r\npendenza");
  session.request("textDocument/hover",
                  {{"textDocument", {{"uri", train_uri}}}, {"position", at(signal, 2)}});
  session.edit(train_uri, signal, 0, 7, "segnale");
  session.request("shutdown", nullptr);

  std::string exchange;
  for (const json& message : session.sent) exchange += message.dump() + "\n";
  exchange = replace_all(exchange, line_uri, "{line}");
  exchange = replace_all(exchange, train_uri, "{train}");
  exchange = replace_all(exchange, folder.path().string(), "{dir}");
  expect_golden("lsp/shipped_exchange.json.txt", exchange);
}

}  // namespace
