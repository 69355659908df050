#include <cstdio>
#include <iostream>
#include <ostream>

#include "scenario_tool/shared/checked_output.h"
#include "scenario_tool/tool.h"

int main(int argc, char** argv) {
  // Standard output through a buffer that checks every write: the tool's
  // run tells a failure to write its results, with the system's reason.
  scenario_tool::checked_output checked(stdout);
  std::ostream out(&checked);
  return scenario_tool::run(argc, argv, {out, std::cerr});
}
