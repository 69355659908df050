// example DIR: the shipped scenario as a scenario folder (its manifest, its
// two description texts and its three documents, written as the installer
// writes them), for an author to start from.
#include <CLI/CLI.hpp>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>

#include "scenari/carried_scenario.h"
#include "scenario_tool/new/scenario_files.h"
#include "scenario_tool/shared/scenario_manifest.h"
#include "scenario_tool/subcommands.h"

namespace scenario_tool {

namespace {

struct example_options {
  std::string folder;
  bool force = false;
};

}  // namespace

subcommand add_example(CLI::App& app, const streams& io) {
  auto o = std::make_shared<example_options>();
  CLI::App* command = app.add_subcommand(
      "example",
      "Write the shipped scenario into DIR as a scenario folder: scenario.toml, the line and "
      "train description texts and the three documents for the driver.");
  command->add_option("DIR", o->folder, "Folder to write into (created when missing)")->required();
  command->add_flag("--force", o->force, "Replace the files when DIR already holds them");
  command->footer(
      "Files that already stand in DIR are an author's work: they are left alone, and nothing is "
      "written, unless --force is given.");
  return {command, [o, io]() {
            const scenari::carried_scenario shipped = scenari::shipped_scenario();
            const scenario_manifest manifest = manifest_with_installer_names(shipped.identity);
            const folder_files files = {
                {manifest_name, render_manifest(manifest)},
                {manifest.line_text, shipped.line_text},
                {manifest.train_text, shipped.train_text},
                {*manifest.notes, *shipped.notes},
                {*manifest.slowdown_order, *shipped.slowdown_order},
                {*manifest.train_card, *shipped.train_card},
            };
            return write_scenario_files("example", o->folder, files, o->force, io);
          }};
}

}  // namespace scenario_tool
