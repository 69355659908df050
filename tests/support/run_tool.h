// Runs the authors' tool in the test's process, capturing what it prints.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "scenario_tool/tool.h"

namespace testing_support {

struct tool_result {
  int status;
  std::string out;
  std::string err;
};

// `args` without the program's name.
inline tool_result run_tool(std::vector<std::string> args) {
  args.insert(args.begin(), "scenario_tool");
  std::vector<const char*> argv;
  for (const std::string& arg : args) argv.push_back(arg.c_str());
  std::ostringstream out;
  std::ostringstream err;
  const int status = scenario_tool::run(static_cast<int>(argv.size()), argv.data(), {out, err});
  return {status, out.str(), err.str()};
}

}  // namespace testing_support
