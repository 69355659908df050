// package [DIR] --platform windows|linux --out FILE: compiles the scenario
// folder as the installer will, and when it compiles without an error joins
// it to the generic installer: one program file for drivers.
#include <CLI/CLI.hpp>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "scenari/carried_scenario.h"
#include "scenario_tool/command_line.h"
#include "scenario_tool/compile/compile_core.h"
#include "scenario_tool/compile/diagnostic_report.h"
#include "scenario_tool/compile/warning_names.h"
#include "scenario_tool/package/installer_program.h"
#include "scenario_tool/shared/failure_words.h"
#include "scenario_tool/shared/output_file.h"
#include "scenario_tool/shared/scenario_manifest.h"
#include "scenario_tool/subcommands.h"

namespace scenario_tool {

namespace {

struct package_options {
  std::string folder = ".";
  target_platform platform = target_platform::for_windows;
  std::string out;
  std::string stub;
  bool werror = false;
  std::vector<std::string> warning_options;  // -W
};

int refuse(const streams& io, const std::string& why) {
  io.err << "scenario_tool package: " << why << "; no installer written\n";
  return status_failed;
}

// The file a driver runs: readable and executable by everyone who may read it.
void make_executable(const std::filesystem::path& file) {
  using std::filesystem::perms;
  std::error_code ec;
  std::filesystem::permissions(file, perms::owner_exec | perms::group_exec | perms::others_exec,
                               std::filesystem::perm_options::add, ec);
}

// What the installer carries, file by file with its size, as the author's
// folder names them: every byte a driver's installer will write out.
std::string carried_list(const scenario_manifest& manifest,
                         const scenari::carried_scenario& scenario) {
  std::string list;
  const auto line = [&](const std::filesystem::path& name, const std::string& bytes) {
    const std::u8string utf8 = name.generic_u8string();
    list += "carries " + std::string(utf8.begin(), utf8.end()) + " (" +
            std::to_string(bytes.size()) + " bytes)\n";
  };
  line(manifest.line_text, scenario.line_text);
  line(manifest.train_text, scenario.train_text);
  if (manifest.notes && scenario.notes) line(*manifest.notes, *scenario.notes);
  if (manifest.slowdown_order && scenario.slowdown_order) {
    line(*manifest.slowdown_order, *scenario.slowdown_order);
  }
  if (manifest.train_card && scenario.train_card) line(*manifest.train_card, *scenario.train_card);
  return list;
}

int run_package(const package_options& o, const streams& io) {
  warning_policy policy;
  if (o.werror) policy.apply("error");
  for (const std::string& option : o.warning_options) {
    if (const auto refused = policy.apply(option)) {
      return report_usage_failure(io, "scenario_tool package: " + *refused + " (see --help)");
    }
  }
  const std::filesystem::path folder = o.folder.empty() ? "." : o.folder;
  scenario_manifest manifest;
  scenari::carried_scenario scenario;
  try {
    manifest = read_manifest(folder);
    scenario = load_scenario(folder, manifest);
  } catch (const std::exception& failure) {
    return refuse(io, failure_words(failure));
  }
  // Sealed before the compile: a text the installer could not carry is
  // refused before any time goes into compiling it.
  std::string sealed;
  try {
    sealed = scenari::seal_scenario(scenario);
  } catch (const std::exception& failure) {
    return refuse(io, failure.what());
  }

  // The same compile as the installer's on the driver's machine.
  compile_request request;
  request.line = source_text((folder / manifest.line_text).string(), scenario.line_text);
  request.train = source_text((folder / manifest.train_text).string(), scenario.train_text);
  request.route_id = scenario.identity.route_id;
  request.train_number = scenario.identity.train_number;
  request.plan = scenario.plan;
  compile_result result = compile_texts(request);
  policy.apply_to(result.diagnostics);
  io.err << render_text(result.diagnostics);
  const diagnostic_counts counts = count(result.diagnostics);
  if (result.stopped) return refuse(io, "the scenario does not compile");
  if (counts.errors != 0) {
    return refuse(io, "the scenario has " + std::to_string(counts.errors) +
                          (counts.errors == 1 ? " error" : " errors"));
  }

  std::string installer;
  try {
    std::filesystem::path found;
    installer = read_installer_program(
        o.platform, o.stub.empty() ? std::nullopt : std::optional<std::filesystem::path>(o.stub),
        found);
    installer += sealed;
    sealed.clear();
    replace_output_file(o.out, installer);
  } catch (const std::exception& failure) {
    return refuse(io, failure_words(failure));
  }
  make_executable(o.out);
  io.out << carried_list(manifest, scenario) << o.out << '\n';
  return status_ok;
}

std::string places_text(target_platform platform) {
  std::string text;
  for (const auto& place : installer_program_places(platform)) {
    text += "\n  " + place.string();
  }
  return text;
}

}  // namespace

subcommand add_package(CLI::App& app, const streams& io) {
  auto o = std::make_shared<package_options>();
  CLI::App* command = app.add_subcommand(
      "package",
      "Make the installer that drivers run: compile the scenario folder DIR as the installer "
      "will, and when it compiles without an error, join it to the generic installer program. "
      "Started with no arguments in any folder, the installer writes the scenario's texts and "
      "documents, compiles them and writes the three compiled files there.");
  command->add_option("DIR", o->folder,
                      "Scenario folder with its scenario.toml (default: the "
                      "current folder)");
  // A name, never a number: the help and the usage list the two names.
  command
      ->add_option_function<std::string>(
          "--platform",
          [o](const std::string& word) {
            o->platform =
                word == "linux" ? target_platform::for_linux : target_platform::for_windows;
          },
          "The drivers' system: windows or linux")
      ->required()
      ->check(CLI::IsMember({"windows", "linux"}));
  command->add_option("--out", o->out, "The installer file to write (made executable)")->required();
  command->add_option("--stub", o->stub,
                      "The generic installer program to join the scenario to (default: see "
                      "below)");
  command->add_flag("--werror", o->werror, "Treat warnings as errors (the same as -W error)");
  command
      ->add_option("-W", o->warning_options,
                   "A named warning, as compile takes it: -W no-NAME, -W error=NAME, "
                   "-W no-error=NAME, -W NAME, -W error")
      ->take_all()
      ->allow_extra_args(false);
  command->footer(
      "Diagnostics are printed as compile prints them; with any error (any warning under "
      "--werror) nothing is written and an older FILE stays as it was.\n"
      "Without --stub the generic installer is looked for, in this order,\nfor windows "
      "(scenario_installer.exe):" +
      places_text(target_platform::for_windows) +
      "\nfor linux (scenario_installer):" + places_text(target_platform::for_linux) +
      "\nExit status: 0 written, 1 refused or failed, 2 the command line could not be "
      "understood.");
  return {command, [o, io]() { return run_package(*o, io); }};
}

}  // namespace scenario_tool
