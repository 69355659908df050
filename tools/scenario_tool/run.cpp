#include <CLI/CLI.hpp>
#include <ostream>
#include <string>
#include <vector>

#include "scenario_tool/subcommands.h"
#include "scenario_tool/tool.h"

namespace scenario_tool {

namespace {

constexpr const char* exit_statuses =
    "Exit status: 0 done (warnings allowed), 1 an error was found or the job stopped, "
    "2 the command line could not be understood.";

// A usage error is one line on the error stream.
std::string one_line_failure(const CLI::App* app, const CLI::Error& error) {
  std::string line = app->get_name() + ": " + error.what();
  for (char& c : line) {
    if (c == '\n') c = ' ';
  }
  return line + " (see --help)\n";
}

}  // namespace

int run(int argc, const char* const* argv, const streams& io) {
  CLI::App app{"Compiles, inspects and draws train-driving scenarios.", "scenario_tool"};
  app.set_version_flag("--version", std::string("scenario_tool ") + SCENARIO_TOOL_VERSION);
  app.footer(exit_statuses);
  app.require_subcommand(1);
  app.failure_message(one_line_failure);

  const std::vector<subcommand> commands = {
      add_example(app, io), add_dump(app, io),    add_diff(app, io),
      add_draw(app, io),    add_compile(app, io), add_explain(app, io),
  };

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    const int code = app.exit(error, io.out, io.err);
    return code == 0 ? status_ok : status_usage;
  }
  for (const subcommand& one : commands) {
    if (one.command->parsed()) return one.run();
  }
  return status_usage;
}

}  // namespace scenario_tool
