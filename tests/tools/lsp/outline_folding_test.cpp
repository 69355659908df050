// The outline names each object by what tells it apart, speed points
// included; sections fold from their header to their last row.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tools/lsp/lsp_session.h"

namespace {

using nlohmann::json;
using testing_support::lsp_session;

const std::string uri = "untitled:R_1-.txt";
const std::vector<std::string> lines = {"[generale]",                                     // 0
                                        "aderenza, 0, 100",                               // 1
                                        "velocita, 0, 100",                               // 2
                                        "",                                               // 3
                                        "[segnali]",                                      // 4
                                        "segnale, 3600, 2, 4, 1, 0, 0, 1, 3, 1, 0, 205",  // 5
                                        "segnale, 600, 2, 4, 1, 0, 0, 1, 3, 1, 0, 205",   // 6
                                        "",                                               // 7
                                        "[rallentamenti]",                                // 8
                                        "rallentamento, 7500, 40, 600, 0, 1, 0",          // 9
                                        "abbattimento, 12250, 30",                        // 10
                                        "[fine]"};                                        // 11

std::string text() {
  std::string out;
  for (const std::string& line : lines) out += line + "\r\n";
  return out;
}

TEST(LanguageServerOutline, EachObjectIsNamedWithItsChainageAndSpeed) {
  lsp_session session;
  session.initialize();
  session.open(uri, text());
  const json symbols =
      session.request("textDocument/documentSymbol", {{"textDocument", {{"uri", uri}}}})["result"];
  std::map<std::string, std::vector<std::string>> names;
  for (const json& section : symbols) {
    for (const json& child : section["children"]) names[section["name"]].push_back(child["name"]);
  }
  EXPECT_EQ(names["[segnali]"], (std::vector<std::string>{"signal km 0+600", "signal km 3+600"}));
  EXPECT_EQ(names["[rallentamenti]"], (std::vector<std::string>{"slowdown 40 km/h km 7+500",
                                                                "speed point 30 km/h km 12+250"}));
}

TEST(LanguageServerFolding, EachSectionFoldsToItsLastRow) {
  lsp_session session;
  const json capabilities =
      session.request("initialize", {{"capabilities", json::object()}})["result"]["capabilities"];
  EXPECT_EQ(capabilities["foldingRangeProvider"], true);
  session.open(uri, text());
  const json folds =
      session.request("textDocument/foldingRange", {{"textDocument", {{"uri", uri}}}})["result"];
  std::vector<std::pair<int, int>> spans;
  for (const json& f : folds) spans.emplace_back(f["startLine"], f["endLine"]);
  // [fine] holds nothing: it does not fold.
  EXPECT_EQ(spans, (std::vector<std::pair<int, int>>{{0, 2}, {4, 6}, {8, 10}}));
}

}  // namespace
