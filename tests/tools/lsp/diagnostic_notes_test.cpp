// Notes through the protocol: related information of the error they add to,
// with the place of the row they name.
#include "scenario_tool/lsp/diagnostic_notes.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tools/lsp/lsp_session.h"

namespace {

using nlohmann::json;
using testing_support::lsp_session;

TEST(LanguageServerNotes, ANoteIsTheRelatedInformationOfItsError) {
  lsp_session session;
  session.initialize();
  const std::string uri = "untitled:R_1-.txt";
  // A value that is no number stops the reading: the error, then the note on
  // what was left unread.
  const std::vector<std::string> lines = {"[generale]", "aderenza, 0, 100", "velocita, 0, 1o0",
                                          "segnale, 1600, 2, 4, 1, 0, 0, 1, 3, 1, 0, 205",
                                          "[fine]"};
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  session.open(uri, text);
  const json diagnostics = session.diagnostics(uri);
  ASSERT_EQ(diagnostics.size(), 1u) << diagnostics.dump(2);
  const json& error = diagnostics[0];
  EXPECT_EQ(error["severity"], 1);
  EXPECT_EQ(error["range"]["start"]["line"], 2);
  ASSERT_EQ(error["relatedInformation"].size(), 1u) << error.dump(2);
  const json& note = error["relatedInformation"][0];
  EXPECT_EQ(note["location"]["uri"], uri);
  EXPECT_NE(note["message"].get<std::string>().find("stopped here"), std::string::npos)
      << note.dump(2);
}

TEST(LanguageServerNotes, ANoteWithNoDiagnosticBeforeItIsInformation) {
  using scenario_tool::diagnostic;
  using scenario_tool::severity;
  std::vector<diagnostic> list(3);
  list[0].level = severity::note;
  list[0].line = 1;
  list[1].level = severity::warning;
  list[1].line = 2;
  list[2].level = severity::note;
  list[2].line = 3;
  const json published =
      scenario_tool::lsp::with_notes_related(list, "file:///t", [](const diagnostic& d) {
        return json{{"severity", d.level == severity::warning ? 2 : 9},
                    {"message", std::to_string(d.line)},
                    {"range", d.line}};
      });
  ASSERT_EQ(published.size(), 2u) << published.dump(2);
  EXPECT_EQ(published[0]["severity"], 3);
  EXPECT_EQ(published[1]["severity"], 2);
  EXPECT_EQ(published[1]["relatedInformation"][0]["message"], "3");
  EXPECT_EQ(published[1]["relatedInformation"][0]["location"]["range"], 3);
}

}  // namespace
