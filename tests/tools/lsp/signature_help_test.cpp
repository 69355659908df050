// Signature help through the protocol: the row's values with the one being
// written marked, counted as the reader counts fields.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tools/lsp/lsp_session.h"

namespace {

using nlohmann::json;
using testing_support::lsp_session;

TEST(LanguageServerSignatureHelp, MarksTheValueTheCursorIsIn) {
  lsp_session session;
  const json capabilities =
      session.request("initialize", {{"capabilities", json::object()}})["result"]["capabilities"];
  EXPECT_EQ(capabilities["signatureHelpProvider"]["triggerCharacters"], json::array({","}));
  session.notify("initialized", json::object());
  const std::string uri = "untitled:R_1-.txt";
  const std::vector<std::string> lines = {
      "[generale]",                                                                // 0
      "segnale, 1600,  2, 4",                                                      // 1
      "orologio, 11  29 30",                                                       // 2
      "stazione, 0, 7, 700, 1, 0, 0, 3, 1, 0, 2, 1, 1, 1, 11, 30, 0, SAN, MARCO",  // 3
      "- segnale, 1600",                                                           // 4
      "abbattimento, 1200, 30, 5",                                                 // 5
      "[fine]"};
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  session.open(uri, text);

  struct place {
    int line;
    int character;
    json active;  // null: no signature help there
    const char* label_start;
  };
  const std::vector<place> places = {
      {1, 3, nullptr, ""},                                           // on the keyword
      {1, 8, 0, "segnale, chainage (m), left kind, left aspect 1"},  // just after the comma
      {1, 12, 0, "segnale"},                                         // within 1600
      {1, 15, 1, "segnale"},                                         // after "1600,"
      {1, 20, 2, "segnale"},                                         // on the 4
      {2, 12, 0, "orologio, clock hours (h)"},                       // within 11
      {2, 15, 1, "orologio"},                                        // on 29: blanks part numbers
      {2, 18, 2, "orologio"},                                        // on 30
      {3, 63, 16, "stazione"},                                       // the name: a text value
      {3, 69, nullptr, ""},                                          // past the row's last value
      {4, 12, nullptr, ""},                                          // a comment
      {5, 25, nullptr, ""},                                          // a surplus field
  };
  for (const place& p : places) {
    SCOPED_TRACE(lines[static_cast<std::size_t>(p.line)] + " at " + std::to_string(p.character));
    const json help =
        session.request("textDocument/signatureHelp",
                        {{"textDocument", {{"uri", uri}}},
                         {"position", {{"line", p.line}, {"character", p.character}}}})["result"];
    if (p.active.is_null()) {
      EXPECT_TRUE(help.is_null()) << help;
      continue;
    }
    ASSERT_TRUE(help.is_object()) << help;
    EXPECT_EQ(help["activeParameter"], p.active);
    const json& signature = help["signatures"][0];
    EXPECT_EQ(signature["label"].get<std::string>().rfind(p.label_start, 0), 0u) << signature;
    // The active parameter's label points at its own name in the signature.
    const json& range = signature["parameters"][p.active.get<std::size_t>()]["label"];
    const std::string named = signature["label"].get<std::string>().substr(
        range[0].get<std::size_t>(), range[1].get<std::size_t>() - range[0].get<std::size_t>());
    EXPECT_FALSE(named.empty());
    EXPECT_EQ(named.find(','), std::string::npos) << named;
  }
}

}  // namespace
