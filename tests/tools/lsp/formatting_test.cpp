// Formatting through the protocol: the whole text and a range of it, one
// whole-line edit per line that changes, accented names kept.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tools/lsp/lsp_session.h"

namespace {

using nlohmann::json;
using testing_support::lsp_session;

const std::string uri = "untitled:R_1-.txt";
// UTF-8 as the editor sends it; "CITTÀ" holds a character of two UTF-8 bytes
// and one UTF-16 code unit.
const std::vector<std::string> loose = {"[generale]",
                                        "velocita,0,100",
                                        "velocita, 650,  5",
                                        "- kept,  as",
                                        "stazione,0,7,CITT\xC3\x80",
                                        "stazione, 4250,12,  MORLANO",
                                        "[fine]"};
const std::vector<std::string> aligned = {"[generale]",
                                          "velocita,   0, 100",
                                          "velocita, 650,   5",
                                          "- kept,  as",
                                          "stazione,    0,  7, CITT\xC3\x80",
                                          "stazione, 4250, 12, MORLANO",
                                          "[fine]"};

std::string crlf(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// Applies whole-line edits; each must replace one line from its start to its end.
std::vector<std::string> applied(std::vector<std::string> lines, const json& edits) {
  for (const json& edit : edits) {
    const std::size_t line = edit["range"]["start"]["line"].get<std::size_t>();
    EXPECT_EQ(edit["range"]["end"]["line"], line);
    EXPECT_EQ(edit["range"]["start"]["character"], 0);
    // The line's length in UTF-16 code units: every character here takes one.
    std::size_t units = 0;
    for (const char c : lines.at(line)) units += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    EXPECT_EQ(edit["range"]["end"]["character"], units);
    lines.at(line) = edit["newText"].get<std::string>();
  }
  return lines;
}

TEST(LanguageServerFormatting, TheWholeTextAndARangeAreAlignedLineByLine) {
  lsp_session session;
  const json capabilities =
      session.request("initialize", {{"capabilities", json::object()}})["result"]["capabilities"];
  EXPECT_EQ(capabilities["documentFormattingProvider"], true);
  EXPECT_EQ(capabilities["documentRangeFormattingProvider"], true);
  session.notify("initialized", json::object());
  session.open(uri, crlf(loose));

  const json whole = session.request(
      "textDocument/formatting", {{"textDocument", {{"uri", uri}}},
                                  {"options", {{"tabSize", 4}, {"insertSpaces", true}}}})["result"];
  ASSERT_TRUE(whole.is_array()) << whole;
  EXPECT_EQ(whole.size(), 4u);  // the headers and the comment are kept as they are
  EXPECT_EQ(applied(loose, whole), aligned);

  // A range aligns its rows in the columns of their whole run.
  const json range = session.request(
      "textDocument/rangeFormatting",
      {{"textDocument", {{"uri", uri}}},
       {"range",
        {{"start", {{"line", 4}, {"character", 0}}}, {"end", {{"line", 4}, {"character", 3}}}}},
       {"options", {{"tabSize", 4}, {"insertSpaces", true}}}})["result"];
  ASSERT_EQ(range.size(), 1u) << range;
  EXPECT_EQ(range[0]["range"]["start"]["line"], 4);
  EXPECT_EQ(range[0]["newText"], aligned[4]);

  // Formatted, the text has nothing more to change.
  session.open(uri, crlf(aligned));
  EXPECT_EQ(session.request("textDocument/formatting", {{"textDocument", {{"uri", uri}}},
                                                        {"options", json::object()}})["result"],
            json::array());
}

}  // namespace
