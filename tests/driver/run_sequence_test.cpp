#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "driver/run_installer.h"
#include "support/fake_platform.h"
#include "support/temp_folder.h"

namespace {

using names = std::set<std::string>;

const std::string linea = "Brisena_Tarvo_linea.txt";
const std::string treno = "Brisena_Tarvo_47306-.txt";
const std::string note = "Brisena_Tarvo_47306_note.txt";
const std::string rallentamenti = "Brisena_Tarvo_47306_rallentamenti.txt";
const std::string scheda = "Brisena_Tarvo_47306_scheda_treno.txt";
const std::string lock = "scenari.lock";

// The folder's names with each staged file, its temporary ("<name>.<16 hex
// digits>.tmp"), named "<name> (staged)".
names staged_as_named(const names& in_folder) {
  names result;
  for (const std::string& name : in_folder) {
    const bool staged = name.size() > 21 && name.ends_with(".tmp") && name[name.size() - 21] == '.';
    result.insert(staged ? name.substr(0, name.size() - 21) + " (staged)" : name);
  }
  return result;
}

TEST(RunSequence, ShowsTheWaitWindowThenWritesTheTextsAndDocumentsInOrder) {
  testing_support::temp_folder folder;
  testing_support::fake_platform platform(folder.path().string());
  // What the folder holds each time a step asks for a file name.
  std::vector<names> seen;
  platform.on_folder_query = [&] { seen.push_back(staged_as_named(folder.names())); };

  driver::run_installer(platform);

  ASSERT_GE(seen.size(), 7u);
  // The folder's lock comes before anything is written.
  EXPECT_EQ(seen[0], names{});
  EXPECT_EQ(seen[1], (names{lock}));
  EXPECT_EQ(seen[2], (names{lock, linea}));
  EXPECT_EQ(seen[3], (names{lock, linea, treno}));
  // The documents wait, written and flushed, for the compiled files: all six
  // are put in place together at the end.
  const std::string staged = " (staged)";
  EXPECT_EQ(seen[4], (names{lock, linea, treno, note + staged}));
  EXPECT_EQ(seen[5], (names{lock, linea, treno, note + staged, rallentamenti + staged}));
  // Route assembly starts only once all five are written.
  EXPECT_EQ(seen[6],
            (names{lock, linea, treno, note + staged, rallentamenti + staged, scheda + staged}));
  EXPECT_EQ(folder.names(), (names{lock, note, rallentamenti, scheda, "Brisena_Tarvo_linea.dat",
                                   "Brisena_Tarvo_47306.sim", "Brisena_Tarvo_47306.dat"}));
  EXPECT_EQ(platform.shown_captions, std::vector<std::string>{"Attendere"});
  EXPECT_EQ(platform.windows_destroyed, 1);
}

TEST(RunSequence, AFailureInTheNotesStopsTheRunBeforeTheLaterSteps) {
  testing_support::temp_folder folder;
  // A folder standing where the notes must go cannot be replaced by a file.
  std::filesystem::create_directories(folder / note / "blocked");
  testing_support::fake_platform platform(folder.path().string());

  EXPECT_NE(driver::run_installer(platform), 0);

  // The description texts written before the failure go with the run.
  EXPECT_EQ(folder.names(), (names{lock, note}));
  EXPECT_TRUE(std::filesystem::is_directory(folder / note));
  ASSERT_EQ(platform.failures.size(), 1u);
  EXPECT_NE(platform.failures[0].find(note), std::string::npos) << platform.failures[0];
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_EQ(platform.windows_destroyed, 1);
}

}  // namespace

namespace {

// Another hand cuts the line text short between its writing and its reading
// back (as a second run truncating it would): the run must not compile the
// cut text over the good files of an earlier installation.
TEST(RunSequence, ATextCutShortBeforeItIsReadBackStopsTheRunAndKeepsTheGoodFiles) {
  testing_support::temp_folder earlier;
  testing_support::fake_platform first(earlier.path().string());
  ASSERT_EQ(driver::run_installer(first), 0);

  testing_support::temp_folder folder;
  const std::vector<std::string> compiled = {"Brisena_Tarvo_linea.dat", "Brisena_Tarvo_47306.sim",
                                             "Brisena_Tarvo_47306.dat"};
  for (const auto& name : compiled) platform::replace_file(folder / name, earlier.read(name));
  testing_support::fake_platform platform(folder.path().string());
  int queries = 0;
  platform.on_folder_query = [&] {
    // The seventh name asked for is the reader's line text.
    if (++queries == 7) {
      const std::string text = folder.read(linea);
      // Renamed at once, as another process would: a lasting replacement
      // made in this process would wait for the run's burst.
      platform::replace_file(folder / linea, text.substr(0, 8192), platform::durability::read_back);
    }
  };

  EXPECT_EQ(driver::run_installer(platform), 1);
  ASSERT_EQ(platform.failures.size(), 1u);
  // The fake platform joins its folder and a name with '/' on every system.
  EXPECT_EQ(
      platform.failures[0].rfind("cannot read back " + folder.path().string() + "/" + linea, 0), 0u)
      << platform.failures[0];
  for (const auto& name : compiled) EXPECT_TRUE(folder.read(name) == earlier.read(name)) << name;
  EXPECT_FALSE(std::filesystem::exists(folder / linea));
  EXPECT_FALSE(std::filesystem::exists(folder / treno));
}

}  // namespace

namespace {

TEST(RunSequence, TemporariesLeftByAKilledRunAreRemovedAndOthersKept) {
  testing_support::temp_folder folder;
  // A temporary of each of the eight files a run writes.
  const names leftovers = {"Brisena_Tarvo_linea.txt.0123456789abcdef.tmp",
                           "Brisena_Tarvo_47306-.txt.fedcba9876543210.tmp",
                           "Brisena_Tarvo_47306_note.txt.00000000ffffffff.tmp",
                           "Brisena_Tarvo_47306_rallentamenti.txt.a0b1c2d3e4f56789.tmp",
                           "Brisena_Tarvo_47306_scheda_treno.txt.9999999999999999.tmp",
                           "Brisena_Tarvo_linea.dat.0123456789abcdef.tmp",
                           "Brisena_Tarvo_47306.sim.abcdefabcdefabcd.tmp",
                           "Brisena_Tarvo_47306.dat.1111111111111111.tmp"};
  // Names that merely look alike: a user's files, kept.
  const names not_ours = {"Brisena_Tarvo_linea.dat.tmp", "Altra_Linea.dat.0123456789abcdef.tmp",
                          // Upper-case digits: another name than the leftovers' even where
                          // letter case does not tell names apart.
                          "Brisena_Tarvo_linea.dat.FEDCBA9876543210.tmp", "notes.txt",
                          // The route's prefix, but none of the eight names.
                          "Brisena_Tarvo_notes.txt.deadbeefdeadbeef.tmp",
                          "Brisena_Tarvone_linea.dat.0123456789abcdef.tmp",
                          "Brisena_Tarvo_47306.dat.bak.0123456789abcdef.tmp",
                          "Brisena_Tarvo_12345.dat.0123456789abcdef.tmp",
                          // One of the eight names, but not the suffix exactly.
                          "Brisena_Tarvo_47306.sim.0123456789abcdef0.tmp",
                          "Brisena_Tarvo_47306.sim.0123456789abcde.tmp",
                          "Brisena_Tarvo_47306.sim.0123456789abcdef.tmp.txt",
                          "Brisena_Tarvo_47306.sim_0123456789abcdef.tmp"};
  for (const auto& name : leftovers) platform::replace_file(folder / name, "half a file");
  for (const auto& name : not_ours) platform::replace_file(folder / name, "kept");
  testing_support::fake_platform platform(folder.path().string());

  EXPECT_EQ(driver::run_installer(platform), 0);
  for (const auto& name : leftovers) EXPECT_FALSE(std::filesystem::exists(folder / name)) << name;
  for (const auto& name : not_ours) EXPECT_EQ(folder.read(name), "kept") << name;
}

}  // namespace
