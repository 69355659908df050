#include "scenario_tool/shared/scenario_manifest.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/replace_file.h"
#include "support/temp_folder.h"

namespace {

using scenario_tool::manifest_error;
using scenario_tool::read_manifest;

TEST(ScenarioManifest, ReadsBackWhatItWrites) {
  testing_support::temp_folder folder;
  scenario_tool::scenario_manifest manifest =
      scenario_tool::manifest_with_installer_names({"Citt\xE0 Alta", "47306"});
  manifest.plan = false;
  manifest.train_card.reset();
  manifest.line_text = "texts/\"line\" 1.txt";
  platform::replace_file(folder / "scenario.toml", scenario_tool::render_manifest(manifest));

  const scenario_tool::scenario_manifest read = read_manifest(folder.path());
  EXPECT_EQ(read.identity.route_id, "Citt\xE0 Alta");  // Windows-1252 again
  EXPECT_EQ(read.identity.train_number, "47306");
  EXPECT_FALSE(read.plan);
  EXPECT_EQ(read.line_text, manifest.line_text);  // quotes escaped in TOML
  EXPECT_EQ(read.train_text, manifest.train_text);
  EXPECT_EQ(read.notes, manifest.notes);
  EXPECT_EQ(read.slowdown_order, manifest.slowdown_order);
  EXPECT_FALSE(read.train_card.has_value());
  // The document left out stays in the file as a comment, for the author to take up.
  EXPECT_NE(folder.read("scenario.toml").find("# train_card = "), std::string::npos);
}

TEST(ScenarioManifest, RefusesWhatIsNoScenarioWithItsPlace) {
  const std::string texts = "[texts]\nline = \"l.txt\"\ntrain = \"t.txt\"\n";
  const struct {
    const char* what;
    std::string manifest;
    std::string message;
  } cases[] = {
      {"syntax", "route = \"A\"\ntrain = 1 2\n" + texts, "scenario.toml:2:"},
      {"no route", "train = \"1\"\n" + texts, "the route identifier is missing"},
      {"number for a name", "route = \"A\"\ntrain = 47306\n" + texts,
       "scenario.toml:2:9: the train number must be a string"},
      {"misspelt key", "route = \"A\"\ntrain = \"1\"\n" + texts + "[documents]\nnote = \"n.txt\"\n",
       "scenario.toml:7:1: unknown key \"note\" in [documents]; did you mean \"notes\"?"},
      {"misspelt top key", "route = \"A\"\ntrain = \"1\"\nplna = true\n" + texts,
       "scenario.toml:3:1: unknown key \"plna\"; did you mean \"plan\"?"},
      {"plan as text", "route = \"A\"\ntrain = \"1\"\nplan = \"yes\"\n" + texts,
       "scenario.toml:3:8: plan must be true or false: write plan = true or plan = false"},
      {"plan as a bare word", "route = \"A\"\ntrain = \"1\"\n  plan = yes\n" + texts,
       "scenario.toml:3:10: plan must be true or false: write plan = true or plan = false"},
      {"plan as a number", "route = \"A\"\ntrain = \"1\"\nplan = 1\n" + texts,
       "plan must be true or false: write plan = true or plan = false"},
      {"no texts", "route = \"A\"\ntrain = \"1\"\n", "the table [texts] is missing"},
      {"no train text", "route = \"A\"\ntrain = \"1\"\n[texts]\nline = \"l.txt\"\n",
       "the train text is missing"},
      {"arrow",
       "route = \"A\xE2\x86\x92"
       "B\"\ntrain = \"1\"\n" +
           texts,
       "Windows-1252 file names cannot carry"},
      {"device name", "route = \"NUL\"\ntrain = \"1\"\n" + texts,
       "scenario.toml:1:9: the route identifier \"NUL\" is \"NUL\", a device name on Windows"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    testing_support::temp_folder folder;
    platform::replace_file(folder / "scenario.toml", c.manifest);
    try {
      read_manifest(folder.path());
      ADD_FAILURE() << "accepted";
    } catch (const manifest_error& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
      EXPECT_EQ(std::string(e.what()).find('\n'), std::string::npos) << e.what();
    }
  }
}

TEST(ScenarioManifest, AFolderWithoutOneSaysSo) {
  testing_support::temp_folder folder;
  EXPECT_FALSE(scenario_tool::is_scenario_folder(folder.path()));
  EXPECT_THROW(read_manifest(folder.path()), manifest_error);
}

}  // namespace
