#include "scenari/text_writer.h"

#include <gtest/gtest.h>

#include "platform/replace_file.h"
#include "support/temp_folder.h"

namespace {

using scenari::end_marker;
using scenari::line_list;

TEST(TextWriter, WritesEveryLineVerbatimWithCrLfAndStopsAtTheMarker) {
  const line_list lines = {"[generale]", "  two blanks  ", "",
                           "caf\xE8",    end_marker,       "after marker"};
  EXPECT_EQ(scenari::render_lines(lines), "[generale]\r\n  two blanks  \r\n\r\ncaf\xE8\r\n");
}

TEST(TextWriter, MarkerIsComparedExactlyWithCase) {
  const line_list lines = {"Riferimento fine del file", "riferimento fine del file ", end_marker};
  EXPECT_EQ(scenari::render_lines(lines),
            "Riferimento fine del file\r\nriferimento fine del file \r\n");
}

TEST(TextWriter, ListWithoutMarkerStopsAtTheEndOfTheList) {
  line_list lines{};
  lines[0] = "first";
  const std::string bytes = scenari::render_lines(lines);
  // 1001 lines: "first" and 1000 empty ones.
  EXPECT_EQ(bytes.size(), 7u + 2u * 1000u);
  EXPECT_EQ(bytes.substr(0, 7), "first\r\n");
}

TEST(TextWriter, ReplacesAnOlderLongerFileAndCreatesAMissingOne) {
  testing_support::temp_folder folder;
  const auto file = folder / "doc.txt";
  const line_list lines = {"new", end_marker};

  scenari::write_line_list(file, lines);  // missing: no error
  EXPECT_EQ(folder.read("doc.txt"), "new\r\n");

  platform::replace_file(file, std::string(5000, 'x'));
  scenari::write_line_list(file, lines);
  EXPECT_EQ(folder.read("doc.txt"), "new\r\n");
  EXPECT_EQ(folder.names(), std::set<std::string>{"doc.txt"});  // no temporary left behind
}

TEST(TextWriter, AFolderWhereTheFileMustGoIsAFailureNamingTheFile) {
  testing_support::temp_folder folder;
  std::filesystem::create_directory(folder / "doc.txt");
  std::filesystem::create_directory(folder / "doc.txt" / "inside");
  const line_list lines = {"new", end_marker};
  try {
    scenari::write_line_list(folder / "doc.txt", lines);
    FAIL() << "expected a file error";
  } catch (const platform::file_error& e) {
    EXPECT_NE(std::string(e.what()).find("doc.txt"), std::string::npos) << e.what();
  }
  EXPECT_EQ(folder.names(), std::set<std::string>{"doc.txt"});
  EXPECT_TRUE(std::filesystem::is_directory(folder / "doc.txt"));
}

}  // namespace
