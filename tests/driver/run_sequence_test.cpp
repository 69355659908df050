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

TEST(RunSequence, ShowsTheWaitWindowThenWritesTheTextsAndDocumentsInOrder) {
  testing_support::temp_folder folder;
  testing_support::fake_platform platform(folder.path().string());
  // What the folder holds each time a step asks for a file name.
  std::vector<names> seen;
  platform.on_folder_query = [&] { seen.push_back(folder.names()); };

  driver::run_installer(platform);

  ASSERT_GE(seen.size(), 7u);
  // The folder's lock comes before anything is written.
  EXPECT_EQ(seen[0], names{});
  EXPECT_EQ(seen[1], (names{lock}));
  EXPECT_EQ(seen[2], (names{lock, linea}));
  EXPECT_EQ(seen[3], (names{lock, linea, treno}));
  EXPECT_EQ(seen[4], (names{lock, linea, treno, note}));
  EXPECT_EQ(seen[5], (names{lock, linea, treno, note, rallentamenti}));
  // Route assembly starts only once all five are written.
  EXPECT_EQ(seen[6], (names{lock, linea, treno, note, rallentamenti, scheda}));
  EXPECT_EQ(platform.shown_captions, std::vector<std::string>{"Attendere"});
  EXPECT_EQ(platform.windows_destroyed, 1);
}

TEST(RunSequence, AFailureInTheNotesStopsTheRunBeforeTheLaterSteps) {
  testing_support::temp_folder folder;
  // A folder standing where the notes must go cannot be replaced by a file.
  std::filesystem::create_directories(folder / note / "blocked");
  testing_support::fake_platform platform(folder.path().string());

  EXPECT_NE(driver::run_installer(platform), 0);

  EXPECT_EQ(folder.names(), (names{lock, linea, treno, note}));
  EXPECT_TRUE(std::filesystem::is_directory(folder / note));
  ASSERT_EQ(platform.failures.size(), 1u);
  EXPECT_NE(platform.failures[0].find(note), std::string::npos) << platform.failures[0];
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_EQ(platform.windows_destroyed, 1);
}

}  // namespace
