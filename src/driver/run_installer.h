// The whole installer run, from the load handler to the exit status.
#pragma once

#include <chrono>
#include <functional>

#include "driver/folder_lock.h"
#include "model/scenario_identity.h"
#include "platform/platform.h"

class Form1;

namespace scenari {
struct carried_scenario;
}

namespace driver {

// The line that reports a run stopped for want of memory.
inline constexpr const char* out_of_memory_line = "out of memory";

// Exit statuses of a run.
inline constexpr int clean_run = 0;
inline constexpr int run_failed = 1;       // stopped by errore, or a step failed
inline constexpr int scenario_faulty = 2;  // files written, but the model recorded an error

// Runs Form_Load and turns its end into an exit status, with one line on the
// platform's error report naming the cause of anything but a clean run.
// `lock_wait`: how long to wait for another run in the same folder.
int run_installer(platform::platform& platform,
                  const model::scenario_identity& identity = model::brisena_tarvo_47306(),
                  std::chrono::milliseconds lock_wait = folder_lock_wait);

// The same run for the scenario a packaged installer carries.
int run_installer(platform::platform& platform, const scenari::carried_scenario& carried,
                  std::chrono::milliseconds lock_wait = folder_lock_wait);

// The packaged installer's whole run: the scenario at the end of its own file,
// checked before anything is written, then the run. A damaged installer ends
// with one line "this installer is damaged: ..." and status 1.
int run_packaged_installer(platform::platform& platform,
                           std::chrono::milliseconds lock_wait = folder_lock_wait);

// The guard around a run: `run` does the work and returns the window whose
// model it filled; what stops it becomes an exit status.
int guarded_run(platform::platform& platform, const std::function<const Form1&()>& run);

}  // namespace driver
