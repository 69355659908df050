// Quick fixes through the protocol: each offered edit is applied as the
// editor would, and the text is checked again.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "scenario_tool/lsp/file_uri.h"
#include "support/temp_folder.h"
#include "tools/lsp/lsp_session.h"
#include "tools/lsp/scenario_texts_session.h"

namespace {

using nlohmann::json;
using testing_support::lsp_session;

std::string crlf(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// The quick fixes the server offers for `diagnostic`, with `context` as the
// diagnostics the editor sends along.
json code_actions(lsp_session& session, const std::string& uri, const json& diagnostic,
                  const json& context) {
  return session.request("textDocument/codeAction",
                         {{"textDocument", {{"uri", uri}}},
                          {"range", diagnostic["range"]},
                          {"context", {{"diagnostics", context}}}})["result"];
}

// `text` put in place of `range`, as the editor applies an edit: the text's
// second version.
void apply_edit(lsp_session& session, const std::string& uri, const json& range, const json& text) {
  session.notify("textDocument/didChange",
                 {{"textDocument", {{"uri", uri}, {"version", 2}}},
                  {"contentChanges", json::array({{{"range", range}, {"text", text}}})}});
}

TEST(LanguageServerQuickFix, AKeywordTypoIsMendedAndTheTextCompilesClean) {
  struct example {
    const char* what;
    std::string uri;
    std::vector<std::string> lines;
    std::string fix;
  };
  const std::vector<example> examples = {
      {"two letters off",
       "untitled:R_1-.txt",
       {"[generale]", "aderenza, 0, 100", "velocita, 0, 100", "aderensa, 50, 90", "[fine]"},
       "aderenza"},
      {"a header keyword whose case counts",
       "untitled:R_linea.txt",
       {"[generale]", "lunghezza percorso, 1000", "Sfondo Uno, 0", "[curve]", "pendenza, 0, 0",
        "[fine]"},
       "sfondo uno"},
  };
  for (const example& e : examples) {
    SCOPED_TRACE(e.what);
    lsp_session session;
    session.initialize();
    session.open(e.uri, crlf(e.lines));
    const json before = session.diagnostics(e.uri);
    json typos = json::array();
    for (const json& d : before) {
      if (d.value("code", json()) == "keyword-typo") typos.push_back(d);
    }
    ASSERT_EQ(typos.size(), 1u) << before.dump(2);

    const json actions = code_actions(session, e.uri, typos[0], before);
    ASSERT_EQ(actions.size(), 1u) << actions.dump(2);
    EXPECT_EQ(actions[0]["kind"], "quickfix");
    const json& edits = actions[0]["edit"]["changes"][e.uri];
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0]["newText"], e.fix);

    // Applied as the editor applies it, the text is checked again: no typo.
    const json& range = edits[0]["range"];
    apply_edit(session, e.uri, range, edits[0]["newText"]);
    for (const json& d : session.diagnostics(e.uri)) {
      EXPECT_NE(d.value("code", json()), "keyword-typo") << d.dump(2);
    }
  }
}

TEST(LanguageServerQuickFix, AMissingGeneraleIsWrittenAndTheTextIsRead) {
  struct example {
    const char* what;
    const char* name;
    std::string text;
    json code;
    std::string fixed;
  };
  const std::vector<example> examples = {
      {"a train text with a near miss", "R_1-.txt",
       "[general]\r\naderenza, 0, 100\r\nvelocita, 0, 100\r\n", "nothing-read",
       "[generale]\r\naderenza, 0, 100\r\nvelocita, 0, 100\r\n"},
      {"a train text without it, LF line ends", "R_1-.txt", "aderenza, 0, 100\nvelocita, 0, 100\n",
       "nothing-read", "[generale]\naderenza, 0, 100\nvelocita, 0, 100\n"},
      {"a line text without it", "R_linea.txt",
       "lunghezza percorso, 1000\r\n[curve]\r\npendenza, 0, 0\r\n", 102,
       "[generale]\r\nlunghezza percorso, 1000\r\n[curve]\r\npendenza, 0, 0\r\n"},
  };
  for (const example& e : examples) {
    SCOPED_TRACE(e.what);
    testing_support::temp_folder folder;
    const std::string uri = scenario_tool::lsp::uri_from_path(folder / e.name);
    lsp_session session;
    session.initialize();
    session.open(uri, e.text);
    const json before = session.diagnostics(uri);
    json fault;
    for (const json& d : before) {
      if (d.value("code", json()) == e.code) fault = d;
    }
    ASSERT_FALSE(fault.is_null()) << before.dump(2);
    const json actions = code_actions(session, uri, fault, before);
    ASSERT_EQ(actions.size(), 1u) << actions.dump(2);
    const json& edit = actions[0]["edit"]["changes"][uri][0];
    // Applied as the editor applies it: the text the author gets, read this time.
    apply_edit(session, uri, edit["range"], edit["newText"]);
    for (const json& d : session.diagnostics(uri)) {
      EXPECT_NE(d.value("code", json()), e.code) << d.dump(2);
    }
    // The edit gives exactly the mended text.
    std::string text = e.text;
    const int line = edit["range"]["start"]["line"];
    std::size_t at = 0;
    for (int l = 0; l < line; ++l) at = text.find('\n', at) + 1;
    at += edit["range"]["start"]["character"].get<std::size_t>();
    std::size_t end = at;
    if (edit["range"]["end"] != edit["range"]["start"]) end = text.find_first_of("\r\n", at);
    text.replace(at, end - at, edit["newText"].get<std::string>());
    EXPECT_EQ(text, e.fixed);
  }
}

// A speed off its 5 km/h step is snapped to the nearest multiple: 72 to 70
// (14.4 fifths), 97 to 95 (19.4 fifths), 87 to 85 (17.4 fifths).
TEST(LanguageServerQuickFix, ASpeedOffItsStepIsSnappedAndTheTextCompilesClean) {
  struct example {
    const char* what;
    std::string uri;
    std::vector<std::string> lines;
    std::string fix;
  };
  const std::vector<example> examples = {
      {"a line speed",
       "untitled:R_1-.txt",
       {"[generale]", "aderenza, 0, 100", "velocita, 0, 72", "[fine]"},
       "70"},
      {"a speed indicator's left speed",
       "untitled:R_linea.txt",
       {"[generale]", "lunghezza percorso, 5000", "[curve]", "pendenza, 0, 0",
        "indicatori_vmax, 1000, 97, 110, 120, 0, 100, 110, 120, 0", "[fine]"},
       "95"},
      {"a speed indicator's right speed",
       "untitled:R_linea.txt",
       {"[generale]", "lunghezza percorso, 5000", "[curve]", "pendenza, 0, 0",
        "indicatori_vmax, 1000, 100, 110, 120, 0, 100, 87, 120, 0", "[fine]"},
       "85"},
  };
  for (const example& e : examples) {
    SCOPED_TRACE(e.what);
    lsp_session session;
    session.initialize();
    session.open(e.uri, crlf(e.lines));
    const json before = session.diagnostics(e.uri);
    json off;
    for (const json& d : before) {
      if (d.value("code", json()) == "value-off-step") off = d;
    }
    ASSERT_FALSE(off.is_null()) << before.dump(2);
    const json actions = code_actions(session, e.uri, off, before);
    ASSERT_EQ(actions.size(), 1u) << actions.dump(2);
    const json& edits = actions[0]["edit"]["changes"][e.uri];
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0]["newText"], e.fix);
    apply_edit(session, e.uri, edits[0]["range"], e.fix);
    for (const json& d : session.diagnostics(e.uri)) {
      EXPECT_NE(d.value("code", json()), "value-off-step") << d.dump(2);
    }
  }
}

// A gradient row's chainage lands in the nearest cell, a half to the even
// one: 1175 m (23.5 cells) and 1225 m (24.5) both land in cell 24 and are
// written 1200; 1260 m (25.2) is written 1250.
TEST(LanguageServerQuickFix, AChainageIsWrittenAsTheCellItLandsIn) {
  const std::vector<std::pair<std::string, std::string>> examples = {
      {"1175", "1200"}, {"1225", "1200"}, {"1260", "1250"}};
  for (const auto& [written, mended] : examples) {
    SCOPED_TRACE(written);
    const std::string uri = "untitled:R_linea.txt";
    lsp_session session;
    session.initialize();
    session.open(uri, crlf({"[generale]", "lunghezza percorso, 5000", "[curve]", "pendenza, 0, 0",
                            "pendenza, " + written + ", 2", "[fine]"}));
    const json before = session.diagnostics(uri);
    json rounded;
    for (const json& d : before) {
      if (d.value("code", json()) == "chainage-rounded") rounded = d;
    }
    ASSERT_FALSE(rounded.is_null()) << before.dump(2);
    const json actions = code_actions(session, uri, rounded, before);
    ASSERT_EQ(actions.size(), 1u) << actions.dump(2);
    const json& edits = actions[0]["edit"]["changes"][uri];
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0]["newText"], mended);
    EXPECT_EQ(edits[0]["range"]["start"]["character"], 10);
    EXPECT_EQ(edits[0]["range"]["end"]["character"], 14);
    apply_edit(session, uri, edits[0]["range"], mended);
    for (const json& d : session.diagnostics(uri)) {
      EXPECT_NE(d.value("code", json()), "chainage-rounded") << d.dump(2);
    }
  }
}

// `text` with `edit` (a TextEdit on one line) applied.
std::string applied(std::string text, const json& edit) {
  const auto offset = [&](const json& position) {
    std::size_t at = 0;
    for (int l = 0; l < position["line"].get<int>(); ++l) at = text.find('\n', at) + 1;
    return at + position["character"].get<std::size_t>();
  };
  const std::size_t from = offset(edit["range"]["start"]);
  const std::size_t to = offset(edit["range"]["end"]);
  return text.replace(from, to - from, edit["newText"].get<std::string>());
}

TEST(LanguageServerQuickFix, ARowsSeparatorsAndSurplusFieldsAreMended) {
  struct example {
    const char* what;
    bool line_text;  // else the train text
    std::vector<std::string> lines;
    json code;
    std::vector<std::string> fixed;
  };
  const std::vector<example> examples = {
      {"fields separated by ';'",
       false,
       {"[generale]", "aderenza; 0;   100", "velocita, 0, 100", "[fine]"},
       25,
       {"[generale]", "aderenza, 0,   100", "velocita, 0, 100", "[fine]"}},
      {"';' before a comma: only the keyword's field is one field",
       false,
       {"[generale]", "aderenza, 0, 100", "velocita; 0, 100", "aderenza, 50, 90", "[fine]"},
       25,
       {"[generale]", "aderenza, 0, 100", "velocita, 0, 100", "aderenza, 50, 90", "[fine]"}},
      {"two surplus numbers, the blanks after the row's last value kept",
       false,
       {"[generale]", "aderenza, 0, 100", "velocita,  0,  100 , 7,  9  ", "[fine]"},
       "stray-number",
       {"[generale]", "aderenza, 0, 100", "velocita,  0,  100  ", "[fine]"}},
      {"a surplus number before the next row on the same line",
       false,
       {"[generale]", "aderenza, 0, 100, 5, velocita, 0, 100", "[fine]"},
       "stray-number",
       {"[generale]", "aderenza, 0, 100, velocita, 0, 100", "[fine]"}},
      {"a line text's body row",
       true,
       {"[generale]", "lunghezza percorso, 1000", "[curve]", "pendenza, 0, 0, 12", "[fine]"},
       "stray-number",
       {"[generale]", "lunghezza percorso, 1000", "[curve]", "pendenza, 0, 0", "[fine]"}},
  };
  const std::vector<std::string> line = {"[generale]", "lunghezza percorso, 1000", "[curve]",
                                         "[fine]"};
  const std::vector<std::string> train = {"[generale]", "aderenza, 0, 100", "velocita, 0, 100",
                                          "[fine]"};
  for (const example& e : examples) {
    SCOPED_TRACE(e.what);
    // The other text beside it on disk: the two compile together, with the plan.
    testing_support::scenario_texts_session s(crlf(e.line_text ? e.lines : line),
                                              crlf(e.line_text ? train : e.lines));
    const std::string& uri = e.line_text ? s.line_uri : s.train_uri;
    if (e.line_text) {
      s.open_line();
    } else {
      s.open_train();
    }
    const json before = s.session.diagnostics(uri);
    json fault;
    for (const json& d : before) {
      if (d.value("code", json()) == e.code) fault = d;
    }
    ASSERT_FALSE(fault.is_null()) << before.dump(2);
    const json actions = code_actions(s.session, uri, fault, json::array({fault}));
    ASSERT_EQ(actions.size(), 1u) << actions.dump(2);
    EXPECT_EQ(actions[0]["kind"], "quickfix");
    const json& edits = actions[0]["edit"]["changes"][uri];
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(applied(crlf(e.lines), edits[0]), crlf(e.fixed));

    // Applied as the editor applies it, the text compiles without a diagnostic.
    apply_edit(s.session, uri, edits[0]["range"], edits[0]["newText"]);
    EXPECT_EQ(s.session.diagnostics(uri), json::array());
  }
}

TEST(LanguageServerQuickFix, NothingIsOfferedWhereTheMendIsNotKnown) {
  lsp_session session;
  session.initialize();
  const std::string uri = "untitled:R_1-.txt";
  session.open(uri, crlf({"[generale]", "aderenza, 0, 100", "qwertyuiop, 5", "[fine]"}));
  const json actions = session.request(
      "textDocument/codeAction",
      {{"textDocument", {{"uri", uri}}},
       {"range",
        {{"start", {{"line", 2}, {"character", 0}}}, {"end", {{"line", 2}, {"character", 1}}}}},
       {"context", {{"diagnostics", session.diagnostics(uri)}}}})["result"];
  EXPECT_EQ(actions, json::array());
}

}  // namespace

namespace {

TEST(LanguageServerQuickFix, NoSurplusIsRemovedFromANumberThatBeginsItsLine) {
  // The row before ends on the line above: which fields are surplus is the
  // author's call, not the server's.
  const std::vector<std::string> line = {
      "[generale]", "lunghezza percorso, 1000", "[curve]", "pendenza, 0, 0", "12, 5", "[fine]"};
  testing_support::scenario_texts_session s(
      crlf(line), crlf({"[generale]", "aderenza, 0, 100", "velocita, 0, 100", "[fine]"}));
  s.open_line();
  const json before = s.session.diagnostics(s.line_uri);
  json stray;
  for (const json& d : before) {
    if (d.value("code", json()) == "stray-number") stray = d;
  }
  ASSERT_FALSE(stray.is_null()) << before.dump(2);
  EXPECT_EQ(stray["range"]["start"]["line"], 4);
  const json actions = s.session.request("textDocument/codeAction",
                                         {{"textDocument", {{"uri", s.line_uri}}},
                                          {"range", stray["range"]},
                                          {"context", {{"diagnostics", json::array({stray})}}}});
  EXPECT_EQ(actions["result"], json::array());
}

}  // namespace
