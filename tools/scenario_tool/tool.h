// The authors' tool: one program with a subcommand for each job. Every
// subcommand registers itself on the command line and returns the action that
// runs it once the line is parsed.
#pragma once

#include <functional>
#include <iosfwd>

namespace CLI {
class App;
}

namespace scenario_tool {

// Exit statuses shared by every subcommand.
inline constexpr int status_ok = 0;
inline constexpr int status_failed = 1;  // an error was found, or the job stopped
inline constexpr int status_usage = 2;   // the command line could not be understood

// The "version" of every JSON document the tool prints: it changes only when a
// key changes its meaning or goes away.
inline constexpr int json_version = 1;

// Where a subcommand prints: its results and its diagnostics.
struct streams {
  std::ostream& out;
  std::ostream& err;
  bool json = false;  // --json was given: a failure of the command line is JSON too
};

// A subcommand's work, run after the command line is parsed; returns the exit status.
using action = std::function<int()>;

// A subcommand as it stands on the command line, with its work.
struct subcommand {
  CLI::App* command;
  action run;
};

// Runs the tool on a command line (argv[0] is the program's name).
int run(int argc, const char* const* argv, const streams& io);

}  // namespace scenario_tool
