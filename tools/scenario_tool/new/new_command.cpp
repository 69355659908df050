// new DIR --route R --train T: a minimal scenario folder that compiles
// cleanly, with its manifest, for an author to start from.
#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>
#include <string>

#include "model/identity_check.h"
#include "model/windows_1252.h"
#include "scenario_tool/new/minimal_scenario.h"
#include "scenario_tool/new/scenario_files.h"
#include "scenario_tool/shared/scenario_manifest.h"
#include "scenario_tool/subcommands.h"

namespace scenario_tool {

namespace {

struct new_options {
  std::string folder;
  std::string route;
  std::string train;
  bool force = false;
};

int run_new(const new_options& o, const streams& io) {
  const auto route = model::windows_1252_from_utf8(o.route);
  const auto train = model::windows_1252_from_utf8(o.train);
  if (!route || !train) {
    io.err << "scenario_tool new: the " << (route ? "train number" : "route identifier")
           << " holds a character that Windows-1252 file names cannot carry (see --help)\n";
    return status_usage;
  }
  const model::scenario_identity identity{*route, *train};
  if (const auto fault = model::identity_fault(identity)) {
    io.err << "scenario_tool new: " << *fault << " (see --help)\n";
    return status_usage;
  }
  scenario_manifest manifest = manifest_with_installer_names(identity);
  manifest.slowdown_order.reset();
  manifest.train_card.reset();
  const folder_files files = {
      {manifest_name, render_manifest(manifest)},
      {manifest.line_text, minimal_line_text()},
      {manifest.train_text, minimal_train_text()},
      {*manifest.notes, minimal_notes(identity)},
  };
  return write_scenario_files("new", o.folder, files, o.force, io);
}

}  // namespace

subcommand add_new(CLI::App& app, const streams& io) {
  auto o = std::make_shared<new_options>();
  CLI::App* command = app.add_subcommand(
      "new",
      "Write a minimal scenario into DIR: scenario.toml, a 5 km line text, a train text with "
      "two stations, and notes for the driver. It compiles without an error or a warning.");
  command->add_option("DIR", o->folder, "Folder to write into (created when missing)")->required();
  command->add_option("--route", o->route, "Route identifier: the first part of every file name")
      ->required();
  command->add_option("--train", o->train, "Train number: the second part of the train's files")
      ->required();
  command->add_flag("--force", o->force, "Overwrite files of the same names in DIR");
  command->footer(
      "The route identifier and the train number become file names on the driver's machine: "
      "no separators, no characters Windows forbids (<>:\"/\\|?*), no control characters, no "
      "device names (CON, NUL, COM1...), no trailing dot or blank, only Windows-1252 "
      "characters.\nExisting files are never overwritten without --force.");
  return {command, [o, io]() { return run_new(*o, io); }};
}

}  // namespace scenario_tool
