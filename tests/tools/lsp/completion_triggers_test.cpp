// Completion is asked for as a keyword's first letter is typed at a line's
// start, and answered only there.
#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <string>

#include "tools/lsp/lsp_session.h"

namespace {

using nlohmann::json;
using testing_support::lsp_session;

TEST(LanguageServerCompletion, AKeywordsFirstLetterAsksForItAtTheLinesStartOnly) {
  lsp_session session;
  const json triggers = session.request(
      "initialize",
      {{"capabilities",
        json::object()}})["result"]["capabilities"]["completionProvider"]["triggerCharacters"];
  for (const char* letter : {"s", "S", "p", "v", "a", "r"}) {
    EXPECT_NE(std::find(triggers.begin(), triggers.end(), letter), triggers.end()) << letter;
  }
  for (const json& t : triggers) {
    EXPECT_EQ(t.get<std::string>().size(), 1u);
    EXPECT_TRUE(std::isalpha(static_cast<unsigned char>(t.get<std::string>()[0]))) << t;
  }
  session.notify("initialized", json::object());
  const std::string uri = "untitled:R_1-.txt";
  session.open(uri, "[generale]\r\ns\r\nvelocita, 0, s\r\n");
  const auto complete = [&](int line, int character) {
    return session.request(
        "textDocument/completion",
        {{"textDocument", {{"uri", uri}}},
         {"position", {{"line", line}, {"character", character}}},
         {"context", {{"triggerKind", 2}, {"triggerCharacter", "s"}}}})["result"];
  };
  const json at_start = complete(1, 1);
  bool signal = false;
  for (const json& item : at_start) signal = signal || item["label"] == "segnale";
  EXPECT_TRUE(signal) << at_start.dump(2);
  EXPECT_EQ(complete(2, 14), json::array());  // a value, not a keyword
}

}  // namespace
