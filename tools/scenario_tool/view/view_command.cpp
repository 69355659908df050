// view [DIR | LINE_TEXT TRAIN_TEXT | COMPILED_FOLDER] [--port N]: serves the
// line's page on the loopback address and tells the page to reload itself
// when a text or the manifest is saved.
#include <CLI/CLI.hpp>
#include <memory>
#include <string>
#include <vector>

#include "scenario_tool/shared/failure_words.h"
#include "scenario_tool/subcommands.h"
#include "scenario_tool/view/line_source.h"
#include "scenario_tool/view/page_server.h"

namespace scenario_tool {

namespace {

struct view_options {
  std::vector<std::string> inputs;
  std::string train;
  int port = 8517;
};

}  // namespace

subcommand add_view(CLI::App& app, const streams& io) {
  auto o = std::make_shared<view_options>();
  CLI::App* command = app.add_subcommand(
      "view",
      "Serve the line's interactive page (the page of draw --html) on http://127.0.0.1:PORT/ "
      "and reload it in the browser whenever a text or the manifest is saved. Ctrl-C ends it.");
  command
      ->add_option("INPUT", o->inputs,
                   "A scenario folder with its scenario.toml, LINE_TEXT TRAIN_TEXT, or a folder "
                   "of compiled files (default: the current folder)")
      ->expected(0, 2);
  command
      ->add_option("--port", o->port,
                   "The port to listen on (default 8517); when it is in use, the next free one")
      ->check(CLI::Range(1, 65535));
  command->add_option("--train", o->train,
                      "With a folder holding several trains' files: the train to show");
  command->footer(
      "view listens on the loopback address only (127.0.0.1): nothing outside this computer "
      "can reach it. It prints the compile's diagnostics again after each save. It works the "
      "same on Linux and on Windows; a save is noticed within a tenth of a second.");
  return {command, [o, io]() {
            try {
              view::line_source source{o->inputs, o->train};
              return view::serve(source, o->port, io.out, io.err);
            } catch (const std::exception& failure) {
              io.err << "scenario_tool view: " << failure_words(failure) << '\n';
              return status_failed;
            }
          }};
}

}  // namespace scenario_tool
