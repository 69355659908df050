// Inlay hints through the protocol on the shipped texts: where each object
// landed, and the speed points the walk added for it.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "platform/replace_file.h"
#include "reader/row_keywords.h"
#include "scenari/scenario_texts.h"
#include "scenario_tool/lsp/file_uri.h"
#include "support/temp_folder.h"
#include "tools/lsp/lsp_session.h"
#include "tools/lsp/scenario_texts_session.h"

namespace {

using nlohmann::json;
using testing_support::lsp_session;

TEST(LanguageServerInlayHints, EachObjectRowSaysWhereItLanded) {
  const testing_support::scenario_texts texts;
  const std::string& train = texts.train;
  const std::string& uri = texts.train_uri;
  lsp_session session;
  const json capabilities =
      session.request("initialize", {{"capabilities", json::object()}})["result"]["capabilities"];
  EXPECT_EQ(capabilities["inlayHintProvider"], true);
  session.notify("initialized", json::object());
  session.open(uri, train);  // ASCII only: the bytes are the UTF-8

  // The line that starts with `start`.
  const auto line_starting = [&train](const std::string& start) {
    for (std::size_t at = 0, n = 0; at < train.size(); at = train.find("\r\n", at) + 2, ++n) {
      if (train.compare(at, start.size(), start) == 0) return static_cast<int>(n);
    }
    return 0;
  };
  // The first signal, "segnale,    1600, ...", and a slowdown past the
  // kilometric reference at 12800 m, from where the posts restart.
  const int signal_line = line_starting("segnale,    1600");
  const int slowdown_line = line_starting("rallentamento,   16850");
  ASSERT_GT(signal_line, 0);
  ASSERT_GT(slowdown_line, 0);
  const json range = {{"start", {{"line", 0}, {"character", 0}}},
                      {"end", {{"line", 200}, {"character", 0}}}};
  const json hints = session.request(
      "textDocument/inlayHint", {{"textDocument", {{"uri", uri}}}, {"range", range}})["result"];
  ASSERT_TRUE(hints.is_array()) << hints;
  bool signal_hinted = false;
  bool slowdown_hinted = false;
  bool walk_hinted = false;
  for (const json& h : hints) {
    const std::string label = h["label"];
    if (h["position"]["line"] == signal_line) {
      signal_hinted = true;
      EXPECT_EQ(label.rfind("→ cell 33 · km 1+600", 0), 0u) << label;
    }
    if (h["position"]["line"] == slowdown_line) {
      slowdown_hinted = true;
      EXPECT_NE(label.find(" · km 4+050"), std::string::npos) << label;
    }
    if (label.find("speed point") != std::string::npos) walk_hinted = true;
  }
  EXPECT_TRUE(signal_hinted) << hints.dump(2);
  EXPECT_TRUE(slowdown_hinted) << hints.dump(2);
  EXPECT_TRUE(walk_hinted) << hints.dump(2);

  // A range holds only its own rows' hints.
  const json one_line = {{"start", {{"line", signal_line}, {"character", 0}}},
                         {"end", {{"line", signal_line}, {"character", 5}}}};
  const json few = session.request(
      "textDocument/inlayHint", {{"textDocument", {{"uri", uri}}}, {"range", one_line}})["result"];
  ASSERT_EQ(few.size(), 1u) << few.dump(2);
}

// The names of a keyword's values, in the reader's table.
std::vector<std::string> value_names(reader::row_section section, std::string_view keyword) {
  std::vector<std::string> names;
  for (const reader::row_keyword& k : reader::row_keywords_of(section)) {
    if (k.name != keyword) continue;
    for (const reader::row_value& v : k.values) names.emplace_back(v.name);
  }
  return names;
}

TEST(LanguageServerInlayHints, ValueNamesStandBeforeEachValueWhenTheSettingAsks) {
  testing_support::scenario_texts_session s;
  s.open_both();
  const json everywhere = {{"start", {{"line", 0}, {"character", 0}}},
                           {"end", {{"line", 1000}, {"character", 0}}}};
  // The value-name hints on the line of `row`: (column, label) in order.
  const auto named = [&](const std::string& uri, const std::string& text, const std::string& row) {
    std::vector<std::pair<int, std::string>> found;
    int line = 0;
    for (std::size_t at = 0; at < text.size(); at = text.find("\r\n", at) + 2, ++line) {
      if (text.compare(at, row.size(), row) == 0) break;
    }
    const json hints =
        s.session.request("textDocument/inlayHint",
                          {{"textDocument", {{"uri", uri}}}, {"range", everywhere}})["result"];
    for (const json& h : hints) {
      if (h.value("kind", 0) == 2 && h["position"]["line"] == line) {
        found.emplace_back(h["position"]["character"].get<int>(), h["label"].get<std::string>());
      }
    }
    return found;
  };
  const std::string speed_row = "velocita,    1100,   120";
  EXPECT_TRUE(named(s.train_uri, s.train, speed_row).empty()) << "off unless asked for";

  s.session.notify("workspace/didChangeConfiguration",
                   {{"settings", {{"scenarioTexts", {{"inlayHints", {{"valueNames", true}}}}}}}});
  struct example {
    const char* what;
    bool line_text;
    std::string row;
    reader::row_section section;
    std::string keyword;
    std::vector<int> columns;  // where each value begins
  };
  const std::vector<example> examples = {
      {"a train text's row",
       false,
       speed_row,
       reader::row_section::train_body,
       "velocita",
       {13, 21}},
      {"a line text's header row",
       true,
       "progressiva chilometrica uno,    12800,    -12800,    0",
       reader::row_section::line_header,
       "progressiva chilometrica uno",
       {33, 43, 54}},
  };
  for (const example& e : examples) {
    SCOPED_TRACE(e.what);
    const std::vector<std::string> names = value_names(e.section, e.keyword);
    ASSERT_EQ(names.size(), e.columns.size());
    std::vector<std::pair<int, std::string>> expected;
    for (std::size_t i = 0; i < names.size(); ++i)
      expected.emplace_back(e.columns[i], names[i] + ":");
    EXPECT_EQ(named(e.line_text ? s.line_uri : s.train_uri, e.line_text ? s.line : s.train, e.row),
              expected);
  }

  // Turned off again, and on through the initialisation's options.
  s.session.notify("workspace/didChangeConfiguration",
                   {{"settings", {{"scenarioTexts", {{"inlayHints", {{"valueNames", false}}}}}}}});
  EXPECT_TRUE(named(s.train_uri, s.train, speed_row).empty());
  testing_support::lsp_session asked;
  asked.request("initialize", {{"capabilities", json::object()},
                               {"initializationOptions",
                                {{"scenarioTexts", {{"inlayHints", {{"valueNames", true}}}}}}}});
  asked.open(s.train_uri, testing_support::editor_utf8(s.train));
  const json hints =
      asked.request("textDocument/inlayHint",
                    {{"textDocument", {{"uri", s.train_uri}}}, {"range", everywhere}})["result"];
  int names_shown = 0;
  for (const json& h : hints) names_shown += h.value("kind", 0) == 2 ? 1 : 0;
  EXPECT_GT(names_shown, 0) << hints.dump(2);
}

}  // namespace
