// Semantic tokens through the protocol, decoded back to places and types.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <tuple>
#include <vector>

#include "tools/lsp/lsp_session.h"

namespace {

using nlohmann::json;
using testing_support::lsp_session;

// line, start, length, type name, modifiers
using place = std::tuple<int, int, int, std::string, int>;

TEST(LanguageServerSemanticTokens, EachFieldIsTypedAsTheReaderTakesIt) {
  lsp_session session;
  const json capabilities =
      session.request("initialize", {{"capabilities", json::object()}})["result"]["capabilities"];
  const json legend = capabilities["semanticTokensProvider"]["legend"];
  ASSERT_TRUE(legend["tokenTypes"].is_array()) << capabilities.dump(2);
  session.notify("initialized", json::object());
  const std::string uri = "untitled:R_1-.txt";
  const std::vector<std::string> lines = {
      "[generale]",                                                             // 0
      "velocita, 0, 100",                                                       // 1
      "- a comment, x",                                                         // 2
      "stazione, 0, 7, 700, 1, 0, 0, 3, 1, 0, 2, 1, 1, 1, 11, 30, 0, BRISENA",  // 3
      "frobnicate, 5",                                                          // 4
  };
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  session.open(uri, text);
  const json data = session.request("textDocument/semanticTokens/full",
                                    {{"textDocument", {{"uri", uri}}}})["result"]["data"];
  ASSERT_EQ(data.size() % 5, 0u);
  std::vector<place> decoded;
  int line = 0;
  int start = 0;
  for (std::size_t i = 0; i < data.size(); i += 5) {
    line += data[i].get<int>();
    start = data[i].get<int>() == 0 ? start + data[i + 1].get<int>() : data[i + 1].get<int>();
    decoded.emplace_back(line, start, data[i + 2].get<int>(),
                         legend["tokenTypes"][data[i + 3].get<std::size_t>()].get<std::string>(),
                         data[i + 4].get<int>());
  }
  const int skipped = 1;  // the legend's first modifier
  EXPECT_EQ(legend["tokenModifiers"][0], "deprecated");
  const std::vector<place> expected_somewhere = {
      {0, 0, 10, "namespace", 0},     {1, 0, 8, "keyword", 0},
      {1, 10, 1, "parameter", 0},     {1, 13, 3, "parameter", 0},
      {2, 0, 11, "comment", 0},       {2, 13, 1, "comment", skipped},
      {3, 0, 8, "keyword", 0},        {3, 13, 1, "number", 0},
      {3, 62, 7, "string", 0},        {4, 0, 10, "comment", skipped},
      {4, 12, 1, "comment", skipped},
  };
  for (const place& p : expected_somewhere) {
    EXPECT_NE(std::find(decoded.begin(), decoded.end(), p), decoded.end())
        << std::get<0>(p) << ":" << std::get<1>(p) << " " << std::get<3>(p);
  }
  EXPECT_EQ(decoded.size(), 1u + 3u + 2u + 18u + 2u);
}

}  // namespace
