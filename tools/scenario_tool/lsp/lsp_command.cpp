// lsp: the language server for the description texts, speaking the Language
// Server Protocol on standard input and output.
#include <CLI/CLI.hpp>
#include <iostream>

#include "scenario_tool/lsp/language_server.h"
#include "scenario_tool/subcommands.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace scenario_tool {

subcommand add_lsp(CLI::App& app, const streams& io) {
  CLI::App* command = app.add_subcommand(
      "lsp",
      "Run a language server for the line and train description texts on standard input and "
      "output, for editors with a Language Server Protocol client: diagnostics of the whole "
      "compile as you type, hover, keyword completion and an outline.");
  command->footer(
      "A line text <route>_linea.txt is checked with the train text <route>_<train>-.txt beside "
      "it, and the other way round; a text with no partner is checked alone.\n"
      "Exit status: 0 after the client's shutdown and exit, 1 when the input ends or exit comes "
      "without shutdown.");
  return {command, [&io]() {
#ifdef _WIN32
            _setmode(_fileno(stdin), _O_BINARY);
            _setmode(_fileno(stdout), _O_BINARY);
#endif
            return lsp::serve(*std::cin.rdbuf(), io.out);
          }};
}

}  // namespace scenario_tool
