// The whole installer run, from the load handler to the exit status.
#pragma once

#include "driver/scenario_identity.h"
#include "platform/platform.h"

namespace driver {

// Runs Form_Load and turns its end into an exit status: 0 for a clean run,
// 1 when the run was stopped or a step failed, with one line on the platform's
// error report naming the cause.
int run_installer(platform::platform& platform,
                  const scenario_identity& identity = brisena_tarvo_47306());

}  // namespace driver
