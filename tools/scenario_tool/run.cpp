#include <CLI/CLI.hpp>
#include <algorithm>
#include <iterator>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "scenario_tool/command_line.h"
#include "scenario_tool/shared/checked_output.h"
#include "scenario_tool/subcommands.h"
#include "scenario_tool/tool.h"

namespace scenario_tool {

namespace {

constexpr const char* exit_statuses =
    "Exit status: 0 done (warnings allowed), 1 an error was found or the job stopped, "
    "2 the command line could not be understood.";

// Each subcommand's help ends with an example and its exit statuses.
struct help_ending {
  std::string_view command;
  std::string_view example;
  std::string_view statuses;
};

constexpr help_ending endings[] = {
    {"new", "scenario_tool new MyLine --route My_Line --train 1234",
     "Exit status: 0 written, 1 a file stands in the way (without --force) or could not be "
     "written, 2 the command line could not be understood or the identity is no file name."},
    {"example", "scenario_tool example ~/scenario-work",
     "Exit status: 0 written, 1 a file stands in the way (without --force) or the files could "
     "not be written, 2 the command line could not be understood."},
    {"package", "scenario_tool package MyLine --platform windows --out My_Line_1234.exe",
     ""},  // its own help says its exit statuses
    {"dump", "scenario_tool dump compiled/Brisena_Tarvo_47306.dat --from 30 --to 40",
     "Exit status: 0 decoded and every header check ok, 1 a check found a MISMATCH or the file "
     "does not decode, 2 the command line could not be understood."},
    {"diff", "scenario_tool diff old/Brisena_Tarvo_47306.dat new/Brisena_Tarvo_47306.dat",
     "Exit status: 0 identical, 1 they differ, 2 they cannot be compared, the result could not "
     "be written or the command line could not be understood."},
    {"draw", "scenario_tool draw Brisena_Tarvo_linea.txt Brisena_Tarvo_47306-.txt --html line.html",
     "Exit status: 0 drawn, with no error; 1 drawn with the errors that make compile fail, or "
     "nothing could be drawn; 2 the command line could not be understood."},
    {"view", "scenario_tool view MyLine --port 8517",
     "Exit status: 0 ended by Ctrl-C, 1 the input could not be read or no port could be "
     "listened on (or, in the Windows build, view is not available), 2 the command line could "
     "not be understood."},
    {"compile",
     "scenario_tool compile Brisena_Tarvo_linea.txt Brisena_Tarvo_47306-.txt --out compiled",
     ""},  // its own help says its exit statuses
    {"lsp",
     "scenario_tool lsp (started by the editor, which speaks to it on standard input and output)",
     ""},  // its own help says its exit statuses
    {"fmt", "scenario_tool fmt --check MyLine",
     "Exit status: 0 formatted (or, with --check, nothing would change), 1 a text would change "
     "(--check) or could not be read or written, 2 the command line could not be understood."},
    {"explain", "scenario_tool explain segnale",
     "Exit status: 0 the entry was printed, 1 the reference has no such entry, 2 the command "
     "line could not be understood."},
};

// Help pages show the usage line the tool builds from what a subcommand takes.
class tool_formatter : public CLI::Formatter {
 public:
  std::string make_usage(const CLI::App* app, std::string) const override {
    return "Usage: " + usage_line(*app) + "\n";
  }
};

bool asks_for_json(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::string_view(argv[i]) == "--json") return true;
  }
  return false;
}

// A subcommand's results are only had if they reached standard output: the
// last of them are flushed, and a write that failed on the way (a full disk)
// is one line and the subcommand's failed status, never success.
int checked_end(const streams& io, const std::string& command, int status) {
  io.out.flush();
  if (io.out.good()) return status;
  std::string reason = "the write failed";
  if (const auto* checked = dynamic_cast<const checked_output*>(io.out.rdbuf())) {
    if (!checked->failure().empty()) reason = checked->failure();
  }
  io.err << "scenario_tool" << (command.empty() ? "" : " ") << command
         << ": cannot write to standard output: " << reason << '\n';
  // For diff, 1 means that the files differ; a result lost is its 2, as for
  // files it could not compare.
  return command == "diff" ? status_usage : status_failed;
}

}  // namespace

int run(int argc, const char* const* argv, const streams& given) {
  const streams io{given.out, given.err, asks_for_json(argc, argv)};
  CLI::App app{"Writes, compiles, inspects, draws and packages train-driving scenarios.",
               "scenario_tool"};
  app.set_version_flag("--version", std::string("scenario_tool ") + SCENARIO_TOOL_VERSION);
  app.require_subcommand(1);
  app.formatter(std::make_shared<tool_formatter>());

  const std::vector<subcommand> commands = {
      add_new(app, io),     add_example(app, io), add_dump(app, io),    add_diff(app, io),
      add_draw(app, io),    add_view(app, io),    add_compile(app, io), add_package(app, io),
      add_explain(app, io), add_fmt(app, io),     add_lsp(app, io),
  };
  for (const subcommand& one : commands) {
    CLI::App* command = one.command;
    const auto ending =
        std::find_if(std::begin(endings), std::end(endings),
                     [&](const help_ending& e) { return e.command == command->get_name(); });
    if (ending == std::end(endings)) continue;
    std::string footer = command->get_footer();
    footer += std::string(footer.empty() ? "" : "\n") + "Example: " + std::string(ending->example);
    if (!ending->statuses.empty()) footer += "\n" + std::string(ending->statuses);
    command->footer(footer);
  }

  // Set after the subcommands are made, which would otherwise inherit it.
  app.footer(exit_statuses);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    // --help and --version end the parse with status 0.
    if (error.get_exit_code() == 0) {
      app.exit(error, io.out, io.err);
      return checked_end(io, "", status_ok);
    }
    const std::string last_word = argc > 1 ? argv[argc - 1] : "";
    return report_usage_failure(io, command_line_failure(app, error, last_word));
  }
  for (const subcommand& one : commands) {
    if (!one.command->parsed()) continue;
    const int status = one.run();
    return checked_end(io, one.command->get_name(), status);
  }
  return status_usage;
}

}  // namespace scenario_tool
