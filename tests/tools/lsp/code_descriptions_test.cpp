// Each named diagnostic links to its entry in the format reference, the page
// the tool is installed with, so that the editor opens the entry from it.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "platform/replace_file.h"
#include "scenario_tool/lsp/file_uri.h"
#include "scenario_tool/lsp/reference_links.h"
#include "support/temp_folder.h"
#include "tools/lsp/lsp_session.h"
#include "tools/lsp/scenario_texts_session.h"

namespace {

using nlohmann::json;

std::string crlf(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

TEST(LanguageServerCodeDescription, ANamedDiagnosticLinksToItsEntryInTheReference) {
  struct example {
    const char* what;
    std::vector<std::string> train;
    json code;
    std::string heading;  // the entry's heading in the page
    std::string anchor;   // its anchor, as a Markdown viewer makes it
  };
  const std::vector<example> examples = {
      {"an error code",
       {"[generale]", "aderenza; 0; 100", "velocita, 0, 100", "[fine]"},
       25,
       "### Error 25",
       "error-25"},
      {"a warning's name",
       {"[generale]", "aderenza, 0, 100, 7", "velocita, 0, 100", "[fine]"},
       "stray-number",
       "### stray-number",
       "stray-number"},
      {"a warning made an error",
       {"[generale]", "aderensa, 0, 100", "velocita, 0, 100", "[fine]"},
       "keyword-typo",
       "### keyword-typo",
       "keyword-typo"},
  };
  const std::string page = platform::read_file(FORMAT_REFERENCE_PATH);
  const std::string reference = scenario_tool::lsp::uri_from_path(FORMAT_REFERENCE_PATH);
  for (const example& e : examples) {
    SCOPED_TRACE(e.what);
    testing_support::scenario_texts_session s(
        crlf({"[generale]", "lunghezza percorso, 1000", "[curve]", "[fine]"}), crlf(e.train));
    s.session.server().link_codes_to(reference);
    s.open_train();
    json found;
    for (const json& d : s.session.diagnostics(s.train_uri)) {
      if (d.value("code", json()) == e.code) found = d;
    }
    ASSERT_FALSE(found.is_null()) << s.session.diagnostics(s.train_uri).dump(2);
    EXPECT_EQ(found["codeDescription"]["href"], reference + "#" + e.anchor);
    // The link leads to that entry's heading.
    EXPECT_NE(page.find("\n" + e.heading + "\n"), std::string::npos);
  }
}

TEST(LanguageServerCodeDescription, NoLinkWithoutACodeOrWithoutTheReference) {
  // A stop has no code: it has no entry to link to.
  testing_support::lsp_session linked;
  linked.server().link_codes_to("file:///reference.md");
  linked.initialize();
  linked.open("untitled:R_1-.txt", "");
  const json stop = linked.diagnostics("untitled:R_1-.txt");
  ASSERT_FALSE(stop.empty());
  for (const json& d : stop) {
    EXPECT_EQ(d.contains("codeDescription"), d.contains("code")) << d.dump(2);
  }
  // A server that found no reference beside it links nothing.
  testing_support::lsp_session unlinked;
  unlinked.initialize();
  unlinked.open("untitled:R_1-.txt", crlf({"[generale]", "aderensa, 0, 100", "[fine]"}));
  const json typo = unlinked.diagnostics("untitled:R_1-.txt");
  ASSERT_FALSE(typo.empty());
  for (const json& d : typo) EXPECT_FALSE(d.contains("codeDescription")) << d.dump(2);
}

TEST(LanguageServerCodeDescription, TheReferenceIsFoundWhereTheToolIsInstalled) {
  // The authors' archive and `cmake --install`: bin/ beside share/doc/<project>/.
  testing_support::temp_folder prefix;
  std::filesystem::create_directories(prefix / "bin");
  std::filesystem::create_directories(prefix / "share/doc/brisena_tarvo_47306");
  platform::replace_file(prefix / "share/doc/brisena_tarvo_47306/format-reference.md", "# page\n");
  EXPECT_EQ(scenario_tool::lsp::reference_beside(prefix / "bin/scenario_tool"),
            prefix / "share/doc/brisena_tarvo_47306/format-reference.md");
  // A tool run from its build tree finds the page of its sources.
  testing_support::temp_folder build;
  const auto from_build = scenario_tool::lsp::reference_beside(build / "bin/scenario_tool");
  ASSERT_TRUE(from_build.has_value());
  EXPECT_TRUE(std::filesystem::equivalent(*from_build, FORMAT_REFERENCE_PATH));
}

}  // namespace
