// Go to definition through the protocol: from a signal whose cell was taken to
// the sign in the line text that took it.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "platform/replace_file.h"
#include "scenari/scenario_texts.h"
#include "scenario_tool/lsp/file_uri.h"
#include "scenario_tool/shared/windows_1252.h"
#include "support/temp_folder.h"
#include "tools/lsp/lsp_session.h"

namespace {

using nlohmann::json;
using testing_support::lsp_session;

// The text as an editor sends it: UTF-8, line ends kept.
std::string utf8(const std::string& windows_1252) {
  std::string out;
  for (const char c : windows_1252) {
    if (static_cast<unsigned char>(c) < 0x80) {
      out.push_back(c);
    } else {
      out += scenario_tool::utf8_from_windows_1252(std::string(1, c));
    }
  }
  return out;
}

int line_of(const std::string& text, const std::string& start) {
  int line = 0;
  for (std::size_t at = 0; at < text.size(); at = text.find("\r\n", at) + 2, ++line) {
    if (text.compare(at, start.size(), start) == 0) return line;
  }
  ADD_FAILURE() << "no line begins with " << start;
  return -1;
}

TEST(LanguageServerDefinition, ASignalWhoseCellWasTakenLeadsToTheSignThatTookIt) {
  testing_support::temp_folder folder;
  std::string line = scenari::render_lines(scenari::linea_lines());
  const std::string train = scenari::render_lines(scenari::treno_lines());
  // A sign at 1600 m takes cell 33, which the train text's first signal wants.
  line.insert(line.find("[fine]"), "cartello_indicatore, 1600, X\r\n");
  platform::replace_file(folder / "Brisena_Tarvo_linea.txt", line);
  platform::replace_file(folder / "Brisena_Tarvo_47306-.txt", train);
  const std::string line_uri =
      scenario_tool::lsp::uri_from_path(folder / "Brisena_Tarvo_linea.txt");
  const std::string train_uri =
      scenario_tool::lsp::uri_from_path(folder / "Brisena_Tarvo_47306-.txt");
  lsp_session session;
  const json capabilities =
      session.request("initialize", {{"capabilities", json::object()}})["result"]["capabilities"];
  EXPECT_EQ(capabilities["definitionProvider"], true);
  session.notify("initialized", json::object());
  session.open(line_uri, utf8(line));
  session.open(train_uri, utf8(train));

  const int signal = line_of(train, "segnale,    1600");
  const int sign = line_of(line, "cartello_indicatore, 1600");
  const json found = session.request(
      "textDocument/definition", {{"textDocument", {{"uri", train_uri}}},
                                  {"position", {{"line", signal}, {"character", 3}}}})["result"];
  ASSERT_EQ(found.size(), 1u) << found.dump(2);
  EXPECT_EQ(found[0]["uri"], line_uri);
  EXPECT_EQ(found[0]["range"]["start"]["line"], sign);
  EXPECT_EQ(found[0]["range"]["start"]["character"], 0);

  // From the second signal, at 2950 m, nothing shares its cell.
  const json none = session.request(
      "textDocument/definition",
      {{"textDocument", {{"uri", train_uri}}},
       {"position", {{"line", line_of(train, "segnale,    2950")}, {"character", 3}}}})["result"];
  EXPECT_EQ(none, json::array());
}

}  // namespace
