// The format reference for authors: the tool's `explain` prints the page's
// entries, every keyword and error code has one, and the page's template
// compiles with no diagnostic.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "model/error_codes.h"
#include "reader/row_keywords.h"
#include "scenario_tool/compile/warning_names.h"
#include "scenario_tool/explain/reference_entries.h"
#include "support/run_tool.h"
#include "support/temp_folder.h"

namespace {

using testing_support::run_tool;
using testing_support::tool_result;

std::string read_bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

const std::string& page() {
  static const std::string bytes = read_bytes(FORMAT_REFERENCE_PATH);
  return bytes;
}

// The page as a reader sees it in a terminal: without the marker and other
// comment lines, each link within the page as its words.
std::string page_without_comment_lines() {
  std::istringstream in(page());
  std::string out;
  const std::regex link_within_page(R"(\[([^\[\]]*)\]\(#[^)]*\))");
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("<!--", 0) == 0 && line.ends_with("-->")) continue;
    out += std::regex_replace(line, link_within_page, "$1") + "\n";
  }
  return out;
}

TEST(FormatReference, TheToolCarriesThePageAsItIsInTheRepository) {
  ASSERT_FALSE(page().empty()) << FORMAT_REFERENCE_PATH;
  EXPECT_EQ(std::string(scenario_tool::format_reference()), page());
}

TEST(FormatReference, ExplainPrintsEachEntryAsThePageShowsIt) {
  const std::string shown = page_without_comment_lines();
  // Every marker of the page, with its names and the heading that follows it.
  const std::regex marker(R"(<!-- explain: ([^\n]*) -->\n(#+ [^\n]*)\n)");
  std::size_t entries = 0;
  for (auto it = std::sregex_iterator(page().begin(), page().end(), marker);
       it != std::sregex_iterator(); ++it, ++entries) {
    const std::string names = (*it)[1];
    const std::string heading = (*it)[2];
    std::vector<std::string> each;
    std::istringstream split(names);
    for (std::string name; std::getline(split, name, '|');) {
      name.erase(0, name.find_first_not_of(' '));
      name.erase(name.find_last_not_of(' ') + 1);
      each.push_back(name);
    }
    for (const std::string& name : each) {
      SCOPED_TRACE(name);
      const tool_result result = run_tool({"explain", name});
      EXPECT_EQ(result.status, 0) << result.err;
      // The heading first, then a passage of the page as it reads, whole.
      EXPECT_EQ(result.out.rfind(heading + "\n", 0), 0u) << result.out.substr(0, 200);
      EXPECT_NE(shown.find(result.out), std::string::npos) << result.out;
      EXPECT_GT(result.out.size(), heading.size() + 40) << "an entry with no body";
    }
  }
  EXPECT_GT(entries, 50u);
}

// The anchor a page viewer gives a heading: lower case, blanks as '-', other
// punctuation dropped.
std::string anchor_of(const std::string& heading) {
  std::string anchor;
  for (const char c : heading) {
    if (c >= 'A' && c <= 'Z') {
      anchor += static_cast<char>(c - 'A' + 'a');
    } else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_') {
      anchor += c;
    } else if (c == ' ') {
      anchor += '-';
    }
  }
  return anchor;
}

TEST(FormatReference, EveryLinkWithinThePageLeadsToAHeading) {
  std::set<std::string> anchors;
  std::istringstream in(page());
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("#", 0) == 0) anchors.insert(anchor_of(line.substr(line.find(' ') + 1)));
  }
  std::size_t links = 0;
  for (std::size_t at = page().find("](#"); at != std::string::npos;
       at = page().find("](#", at + 1), ++links) {
    const std::size_t end = page().find(')', at);
    const std::string anchor = page().substr(at + 3, end - at - 3);
    EXPECT_TRUE(anchors.count(anchor)) << anchor;
  }
  EXPECT_GT(links, 20u);
}

TEST(FormatReference, AnEntryRunsToTheNextHeadingAndKeepsItsCodeBlocks) {
  const std::string page_text =
      "# Title\n\n<!-- explain: one | uno -->\n### `one` row\n\nBody of one.\n\n"
      "```text\n# not a heading\n<!-- template: x -->\n```\n\n## Next part\n\nNot in one.\n"
      "<!-- explain: two -->\n### Two\nBody of two.\n";
  const auto entries = scenario_tool::reference_entries(page_text);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].title, "one row");
  EXPECT_EQ(entries[0].text,
            "### `one` row\n\nBody of one.\n\n```text\n# not a heading\n<!-- template: x "
            "-->\n```\n");
  EXPECT_EQ(entries[1].text, "### Two\nBody of two.\n");
  EXPECT_EQ(scenario_tool::find_entry(entries, "  UNO "), &entries[0]);
  EXPECT_EQ(scenario_tool::find_entry(entries, "three"), nullptr);
}

TEST(FormatReference, EveryKeywordAndErrorCodeHasAnEntry) {
  // The keywords of the shipped texts and the forms authors write.
  const std::vector<std::string> keywords = {"lunghezza percorso",
                                             "progressiva chilometrica uno",
                                             "progressiva chilometrica due",
                                             "progressiva chilometrica tre",
                                             "sfondo uno",
                                             "sfondo due",
                                             "sfondo tre",
                                             "ripetizione segnali 4 codici",
                                             "pendenza",
                                             "curvad2",
                                             "curvas3",
                                             "montagna",
                                             "indicatori_vmax",
                                             "cartello_indicatore",
                                             "numero vetture",
                                             "percentuale massa frenata",
                                             "sabbia",
                                             "orologio",
                                             "aderenza",
                                             "velocita",
                                             "stazione",
                                             "rallentamento",
                                             "segnale",
                                             "abbattimento",
                                             "[generale]"};
  for (const std::string& keyword : keywords) {
    SCOPED_TRACE(keyword);
    EXPECT_EQ(run_tool({"explain", keyword}).status, 0);
  }
  std::size_t codes = 0;
  for (std::int32_t code = 1; code < 2000; ++code) {
    if (model::error_meaning(code).empty() && code != 1250 && code != 1251) continue;
    SCOPED_TRACE(code);
    ++codes;
    const tool_result result = run_tool({"explain", std::to_string(code)});
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.out.find("Mend"), std::string::npos) << result.out;
  }
  EXPECT_GT(codes, 25u);
}

TEST(FormatReference, EveryNamedWarningAndEveryTableKeywordHasAnEntry) {
  // A name added to the warnings, or a keyword to the reader's table, needs
  // its entry before authors meet it.
  for (const scenario_tool::warning_name& w : scenario_tool::warning_names()) {
    SCOPED_TRACE(std::string(w.name));
    const tool_result result = run_tool({"explain", std::string(w.name)});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("### " + std::string(w.name)), std::string::npos) << result.out;
  }
  for (const reader::row_keyword& k : reader::row_keywords) {
    SCOPED_TRACE(std::string(k.name));
    EXPECT_EQ(run_tool({"explain", std::string(k.name)}).status, 0);
  }
}

TEST(FormatReference, AnUnknownTopicIsOneLineWithTheNearestEntry) {
  const tool_result result = run_tool({"explain", "pendnza"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err,
            "scenario_tool explain: the format reference has no entry 'pendnza'; did you mean "
            "'pendenza'? (scenario_tool explain lists them)\n");

  const tool_result list = run_tool({"explain"});
  EXPECT_EQ(list.status, 0);
  EXPECT_NE(list.out.find("\nsegnale  -  segnale\n"), std::string::npos) << list.out;
  EXPECT_NE(list.out.find("\n16  -  Error 16\n"), std::string::npos) << list.out;
}

TEST(FormatReference, ExplainShowsLinksAsTheirWords) {
  // Error 25's entry points to the comments and fields entries of the page.
  ASSERT_NE(page().find("](#"), std::string::npos);
  for (const scenario_tool::reference_entry& entry :
       scenario_tool::reference_entries(scenario_tool::format_reference())) {
    SCOPED_TRACE(entry.names.front());
    EXPECT_EQ(entry.text.find("](#"), std::string::npos) << entry.text;
    const tool_result result = run_tool({"explain", entry.names.front()});
    EXPECT_EQ(result.out.find("]("), std::string::npos) << result.out;
    EXPECT_EQ(result.out, entry.text);
  }
  // The words of a link stay: "error 2" where the page links to it.
  const tool_result chainage = run_tool({"explain", "progressiva chilometrica uno"});
  EXPECT_NE(chainage.out.find("(else error 2)"), std::string::npos) << chainage.out;
}

TEST(FormatReference, ANumberThatIsNoErrorCodeIsSaidSoWithTheCodesThatExist) {
  for (const std::string code : {"14", "23", "26", "1252", "0"}) {
    SCOPED_TRACE(code);
    const tool_result result = run_tool({"explain", code});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "scenario_tool explain: there is no error " + code +
                              "; the errors are 1 to 13, 15 to 22, 24, 25, 101 to 103, 1250 and "
                              "1251\n");
  }
}

// The template's two texts, as an author saves them: Windows-1252, CR LF.
std::string template_text(const std::string& which) {
  const std::string begin = "<!-- template: " + which + " -->\n```text\n";
  const std::size_t at = page().find(begin);
  if (at == std::string::npos) return "";
  const std::size_t from = at + begin.size();
  const std::size_t to = page().find("```", from);
  if (to == std::string::npos) return "";
  std::string text;
  for (const char c : page().substr(from, to - from)) {
    if (c == '\n') text += '\r';
    text += c;
  }
  return text;
}

TEST(FormatReference, TheTemplateCompilesWithNoDiagnostic) {
  const testing_support::temp_folder folder;
  const std::string line = template_text("line");
  const std::string train = template_text("train");
  ASSERT_NE(line, "");
  ASSERT_NE(train, "");
  std::ofstream(folder / "Valle_Nuova_linea.txt", std::ios::binary) << line;
  std::ofstream(folder / "Valle_Nuova_2041-.txt", std::ios::binary) << train;

  const tool_result compiled =
      run_tool({"compile", (folder / "Valle_Nuova_linea.txt").string(),
                (folder / "Valle_Nuova_2041-.txt").string(), "--out", (folder / "out").string()});
  EXPECT_EQ(compiled.status, 0);
  EXPECT_EQ(compiled.err, "");
  EXPECT_EQ(compiled.out,
            "wrote Valle_Nuova_linea.dat, Valle_Nuova_2041.sim and "
            "Valle_Nuova_2041.dat into " +
                (folder / "out").string() + "\n");

  // What the template says it describes: three stations, signals, a slowdown.
  const tool_result stations =
      run_tool({"dump", (folder / "out" / "Valle_Nuova_2041.sim").string(), "--to", "4"});
  EXPECT_NE(stations.out.find("station 3 station \"VALLE NUOVA\""), std::string::npos)
      << stations.out;
  EXPECT_NE(stations.out.find("station 4 empty"), std::string::npos);
  const tool_result cells = run_tool({"dump", (folder / "out" / "Valle_Nuova_2041.dat").string()});
  std::size_t signals = 0;
  for (std::size_t at = cells.out.find(") signal:"); at != std::string::npos;
       at = cells.out.find(") signal:", at + 1)) {
    ++signals;
  }
  EXPECT_EQ(signals, 6u);
  EXPECT_NE(cells.out.find(") slowdown start: value 60"), std::string::npos);
}

}  // namespace
