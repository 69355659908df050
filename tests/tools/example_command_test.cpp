// example DIR never replaces texts an author may have edited, unless asked.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/replace_file.h"
#include "scenari/scenario_texts.h"
#include "support/run_tool.h"
#include "support/temp_folder.h"

namespace {

using testing_support::run_tool;
using testing_support::temp_folder;
using testing_support::tool_result;

TEST(ToolExample, EditedTextsAreKeptUnlessForced) {
  const std::string shipped_line = scenari::render_lines(scenari::linea_lines());
  const std::string shipped_train = scenari::render_lines(scenari::treno_lines());
  // Either text alone already there is enough to refuse, and neither is written.
  for (const char* edited : {"Brisena_Tarvo_linea.txt", "Brisena_Tarvo_47306-.txt"}) {
    SCOPED_TRACE(edited);
    const temp_folder folder;
    platform::replace_file(folder / edited, "my own route\r\n");
    const tool_result refused = run_tool({"example", folder.path().string()});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_NE(refused.err.find((folder / edited).string() + " already exists"), std::string::npos)
        << refused.err;
    EXPECT_NE(refused.err.find("--force"), std::string::npos) << refused.err;
    EXPECT_EQ(folder.read(edited), "my own route\r\n");
    EXPECT_EQ(folder.names().size(), 1u);

    const tool_result forced = run_tool({"example", folder.path().string(), "--force"});
    EXPECT_EQ(forced.status, 0) << forced.err;
    EXPECT_EQ(folder.read("Brisena_Tarvo_linea.txt"), shipped_line);
    EXPECT_EQ(folder.read("Brisena_Tarvo_47306-.txt"), shipped_train);
  }
  // All there: each named, the last after "and".
  const temp_folder folder;
  ASSERT_EQ(run_tool({"example", folder.path().string()}).status, 0);
  const tool_result again = run_tool({"example", folder.path().string()});
  EXPECT_EQ(again.status, 1);
  for (const char* name : {"scenario.toml", "Brisena_Tarvo_linea.txt", "Brisena_Tarvo_47306-.txt",
                           "Brisena_Tarvo_47306_note.txt"}) {
    EXPECT_NE(again.err.find(name), std::string::npos) << again.err;
  }
  EXPECT_NE(again.err.find(" and " + (folder / "Brisena_Tarvo_47306_scheda_treno.txt").string() +
                           " already exist: nothing written (give --force to replace them)"),
            std::string::npos)
      << again.err;
}

}  // namespace
