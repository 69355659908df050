// The six files that stay are replaced all together or not at all: a run that
// stops, is killed or loses its power at any step leaves either the earlier
// installation or the new one, except during the short burst that puts the
// new one in place, which the next run's start completes.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "installer_process.h"

namespace {

using namespace testing_support;

std::vector<std::string> six_names() {
  std::vector<std::string> names = document_names;
  names.insert(names.end(), compiled_names.begin(), compiled_names.end());
  return names;
}

std::string earlier_bytes(const std::string& name) {
  return "an earlier installation's " + name + "\r\n";
}

void install_earlier_files(const temp_folder& folder) {
  for (const std::string& name : six_names()) {
    platform::replace_file(folder / name, earlier_bytes(name));
  }
}

// How many of the six files hold the earlier bytes and how many the new; a
// file that holds neither (missing, torn) is a failure of its own.
struct set_state {
  int earlier = 0;
  int fresh = 0;
  bool mixed() const { return earlier != 0 && fresh != 0; }
};

set_state classify(const temp_folder& folder) {
  set_state state;
  const auto files = folder_contents(folder);
  for (const std::string& name : six_names()) {
    const auto found = files.find(name);
    if (found == files.end()) {
      ADD_FAILURE() << name << " is missing";
    } else if (found->second == earlier_bytes(name)) {
      ++state.earlier;
    } else if (found->second == good_files().at(name)) {
      ++state.fresh;
    } else {
      ADD_FAILURE() << name << " holds neither installation's bytes";
    }
  }
  return state;
}

// The intent record a burst leaves while it runs.
bool has_burst_record(const temp_folder& folder) {
  for (const std::string& name : folder.names()) {
    if (name.starts_with("scenari.") && name.ends_with(".commit")) return true;
  }
  return false;
}

// Only what a finished run leaves: the program, its lock and the six files.
void expect_nothing_else(const temp_folder& folder) {
  for (const std::string& name : folder.names()) {
    const bool known = name == installer_name || name == lock_name || good_files().contains(name);
    EXPECT_TRUE(known) << "left " << name;
  }
}

TEST(AllOrNothing, ARunKilledAtAnyStepLeavesOneInstallationOrABurstTheNextRunCompletes) {
  // One trial per step of the run: the run is killed just before it. The
  // sweep ends with the first trial the run finishes.
  int trials = 0, earlier = 0, fresh = 0, in_burst = 0;
  bool finished = false;
  for (int step = 1; step <= 200 && !finished; ++step) {
    SCOPED_TRACE("killed before step " + std::to_string(step));
    temp_folder folder, outside;
    install_earlier_files(folder);
    process_options options;
    options.preload_fault_shim = true;
    options.env = {{"FAULT_KILL_AT", std::to_string(step)}};
    const process_result run = run_installer_process(folder, outside, options);
    finished = run.signal == 0;
    if (finished) {
      EXPECT_EQ(run.status, 0) << run.errors;
    } else {
      ++trials;
    }

    const set_state state = classify(folder);
    const bool burst = has_burst_record(folder);
    if (state.mixed()) {
      ++in_burst;
      EXPECT_TRUE(burst) << "a mixed set with no burst to complete: " << state.fresh << " new";
    } else if (state.fresh == 6) {
      ++fresh;
    } else {
      ++earlier;
    }

    // What the next run's start does first, before it writes anything.
    platform::complete_interrupted_burst(folder.path());
    const set_state completed = classify(folder);
    EXPECT_FALSE(completed.mixed());
    EXPECT_EQ(completed.fresh == 6, burst || state.fresh == 6);
    EXPECT_FALSE(has_burst_record(folder));

    // And the next whole run ends clean, with nothing of the killed one left.
    const process_result next = run_installer_process(folder, outside);
    EXPECT_EQ(next.status, 0) << next.errors;
    EXPECT_EQ(classify(folder).fresh, 6);
    expect_nothing_else(folder);
  }
  EXPECT_TRUE(finished);
  // Kills before the burst, inside it, and after the last rename all occur.
  EXPECT_GT(earlier, 0);
  EXPECT_GT(in_burst, 0);
  EXPECT_GT(fresh, 0);
  // The finished trial is no kill.
  std::printf("%d kills: %d left the earlier set, %d the new set, %d a burst to complete\n", trials,
              earlier, fresh - 1, in_burst);
}

TEST(AllOrNothing, ARunThatStopsBeforeTheBurstLeavesTheEarlierSixAsTheyWere) {
  // Each stops the run after the documents are written, at the compiled
  // files: the documents must not be put in place without them.
  struct stop {
    const char* what;
    process_options options;
  };
  process_options flush_fails;
  flush_fails.preload_fault_shim = true;
  flush_fails.env = {{"FAULT_FILE", "Brisena_Tarvo_47306.dat"},
                     {"FAULT_CALL", "data_flush"},
                     {"FAULT_ERRNO", std::to_string(EIO)}};
  process_options size_limit;
  // Each document fits; the track plan, far larger, does not.
  size_limit.file_size_limit = 256 * 1024;
  const stop stops[] = {{"the last compiled file's flush fails", flush_fails},
                        {"the track plan outgrows the file-size limit", size_limit}};
  for (const stop& s : stops) {
    SCOPED_TRACE(s.what);
    temp_folder folder, outside;
    install_earlier_files(folder);
    const process_result run = run_installer_process(folder, outside, s.options);
    EXPECT_EQ(run.status, 1) << run.errors;
    EXPECT_EQ(classify(folder).earlier, 6);
    EXPECT_FALSE(has_burst_record(folder));
    for (const std::string& name : folder.names()) {
      EXPECT_FALSE(name.ends_with(".tmp") || name.ends_with(".gone")) << "left " << name;
    }
  }
}

TEST(AllOrNothing, TheNextRunCompletesABurstCutOffAfterItsFirstRename) {
  // As a power cut leaves it: the record and the marks made to last, one
  // file renamed, the others still under their temporary names.
  temp_folder folder;
  install_earlier_files(folder);
  const std::string digits = "0123456789abcdef";
  const auto names = six_names();
  platform::replace_file(folder / names[0], good_files().at(names[0]));
  for (std::size_t i = 1; i < names.size(); ++i) {
    platform::replace_file(folder / (names[i] + "." + digits + ".tmp"), good_files().at(names[i]));
  }
  // A document the new installation does not carry, marked for deletion.
  platform::replace_file(folder / "Brisena_Tarvo_12345_note.txt", "another train's notes");
  platform::replace_file(folder / ("Brisena_Tarvo_12345_note.txt." + digits + ".gone"), "");
  // Another run's temporary, of other digits, is no part of the burst; nor is
  // a file that would name the folder's parent.
  const std::string other = names[1] + ".fedcba9876543210.tmp";
  platform::replace_file(folder / other, "another run's");
  const std::string parent = "..." + digits + ".tmp";
  platform::replace_file(folder / parent, "planted");
  platform::replace_file(folder / ("scenari." + digits + ".commit"), "");

  platform::complete_interrupted_burst(folder.path());

  EXPECT_EQ(classify(folder).fresh, 6);
  std::set<std::string> expected(names.begin(), names.end());
  expected.insert(other);
  expected.insert(parent);
  EXPECT_EQ(folder.names(), expected);
}

}  // namespace
