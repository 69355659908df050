// The subcommands of the authors' tool. Each adds itself to the command line
// and returns its action.
#pragma once

#include "scenario_tool/tool.h"

namespace scenario_tool {

// example DIR: writes the shipped scenario's two description texts into DIR.
subcommand add_example(CLI::App& app, const streams& io);

}  // namespace scenario_tool
