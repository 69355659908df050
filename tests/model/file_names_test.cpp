#include "model/file_names.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "model/identity_check.h"

namespace {

using model::scenario_file;

struct named_case {
  scenario_file file;
  std::string name;  // for route "Val_Tarvo" and train "47306"
};

const std::vector<named_case> shipped_names = {
    {scenario_file::line_text, "Val_Tarvo_linea.txt"},
    {scenario_file::train_text, "Val_Tarvo_47306-.txt"},
    {scenario_file::notes, "Val_Tarvo_47306_note.txt"},
    {scenario_file::slowdown_order, "Val_Tarvo_47306_rallentamenti.txt"},
    {scenario_file::train_card, "Val_Tarvo_47306_scheda_treno.txt"},
    {scenario_file::plan, "Val_Tarvo_linea.dat"},
    {scenario_file::stations, "Val_Tarvo_47306.sim"},
    {scenario_file::cells, "Val_Tarvo_47306.dat"},
};

TEST(FileNames, EachFileIsNamedAfterItsRouteAndTrainAndReadsBack) {
  const model::scenario_identity identity{"Val_Tarvo", "47306"};
  ASSERT_EQ(shipped_names.size(), model::every_scenario_file.size());
  for (const named_case& c : shipped_names) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(model::file_name(identity, c.file), c.name);
    EXPECT_EQ(model::file_of_name(c.name), c.file);
    // With no route known the name is cut at its last "_"; with the route
    // known, at the route.
    for (const std::optional<model::named_file>& read :
         {model::read_file_name(c.name), model::read_file_name(c.name, "Val_Tarvo")}) {
      ASSERT_TRUE(read.has_value());
      EXPECT_EQ(read->file, c.file);
      EXPECT_EQ(read->route_id, "Val_Tarvo");
      EXPECT_EQ(read->train_number, model::names_the_train(c.file) ? "47306" : "");
    }
  }
}

TEST(FileNames, AKnownRouteReadsATrainNumberThatHoldsAnUnderscore) {
  // Cut at the last "_" this would be route "R_12", train "bis".
  const auto read = model::read_file_name("R_12_bis-.txt", "R");
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(read->route_id, "R");
  EXPECT_EQ(read->train_number, "12_bis");
  const auto unknown = model::read_file_name("R_12_bis-.txt");
  ASSERT_TRUE(unknown.has_value());
  EXPECT_EQ(unknown->route_id, "R_12");
  EXPECT_EQ(unknown->train_number, "bis");
}

struct refused_case {
  std::string name;
  std::string route;  // empty: no route known
};

TEST(FileNames, NamesThatAreNoScenarioFileReadBackAsNothing) {
  const std::vector<refused_case> refused = {
      {"_linea.txt", ""},         // nothing but the ending: no route
      {"-.txt", ""},              // nor train
      {"47306-.txt", ""},         // no "_" between route and train
      {"R_-.txt", ""},            // an empty train number
      {"_47306.sim", ""},         // an empty route
      {"R_47306.txt", ""},        // no ending of a scenario's file
      {"R_47306.dat.old", ""},    // a leftover, not the file
      {"Other_47306-.txt", "R"},  // another route's train
      {"R_-.txt", "R"},           // the route's, with an empty train number
      {"R47306-.txt", "R"},       // no "_" after the route
      {"RR_linea.txt", "R"},      // another route's line text
      {"R_x_linea.dat", "R"},     // the plan of route "R_x"
  };
  for (const refused_case& c : refused) {
    SCOPED_TRACE(c.name + " with route '" + c.route + "'");
    const auto read =
        c.route.empty() ? model::read_file_name(c.name) : model::read_file_name(c.name, c.route);
    EXPECT_FALSE(read.has_value()) << read->route_id << " / " << read->train_number;
  }
}

TEST(FileNames, TheLongerEndingDecidesTheKind) {
  // "_linea.dat" ends as ".dat" does, "_note.txt" as no train text does.
  EXPECT_EQ(model::file_of_name("R_linea.dat"), scenario_file::plan);
  EXPECT_EQ(model::file_of_name("R_linea_47306.dat"), scenario_file::cells);
  EXPECT_EQ(model::file_of_name("R_linea.txt"), scenario_file::line_text);
  EXPECT_EQ(model::file_of_name("R_linea-.txt"), scenario_file::train_text);
  EXPECT_EQ(model::file_of_name("R_1_note.txt"), scenario_file::notes);
  EXPECT_EQ(model::file_of_name("R_1_scheda_treno.txt"), scenario_file::train_card);
  EXPECT_EQ(model::file_of_name(".dat"), std::nullopt);
}

TEST(FileNames, TheTemporarySuffixCountsInTheLongestOwnName) {
  const std::string suffix = model::temporary_suffix("0123456789abcdef");
  EXPECT_EQ(suffix, ".0123456789abcdef.tmp");
  EXPECT_EQ(suffix.size(), model::temporary_suffix_size);
  const model::scenario_identity identity{"Val_Tarvo", "47306"};
  EXPECT_EQ(model::longest_own_name_of(identity),
            std::string("Val_Tarvo_47306_rallentamenti.txt").size() + suffix.size());
}

}  // namespace
