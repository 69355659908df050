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
#include "tools/lsp/scenario_texts_session.h"

namespace {

using nlohmann::json;
using testing_support::lsp_session;

int line_of(const std::string& text, const std::string& start) {
  int line = 0;
  for (std::size_t at = 0; at < text.size(); at = text.find("\r\n", at) + 2, ++line) {
    if (text.compare(at, start.size(), start) == 0) return line;
  }
  ADD_FAILURE() << "no line begins with " << start;
  return -1;
}

TEST(LanguageServerDefinition, ASignalWhoseCellWasTakenLeadsToTheSignThatTookIt) {
  std::string with_sign = testing_support::shipped_line_text();
  // A sign at 1600 m takes cell 33, which the train text's first signal wants.
  with_sign.insert(with_sign.find("[fine]"), "cartello_indicatore, 1600, X\r\n");
  const testing_support::scenario_texts texts(with_sign);
  const std::string& line = texts.line;
  const std::string& train = texts.train;
  const std::string& line_uri = texts.line_uri;
  const std::string& train_uri = texts.train_uri;
  lsp_session session;
  const json capabilities =
      session.request("initialize", {{"capabilities", json::object()}})["result"]["capabilities"];
  EXPECT_EQ(capabilities["definitionProvider"], true);
  session.notify("initialized", json::object());
  session.open(line_uri, testing_support::editor_utf8(line));
  session.open(train_uri, testing_support::editor_utf8(train));

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
