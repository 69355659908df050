// compile [DIR | LINE_TEXT TRAIN_TEXT]: the installer's compile on an author's
// texts, those a scenario folder's manifest names or two given by name, with
// every problem named by file, line and column. The texts are only read.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>
#include <utility>

#include "assembly/compiled_files.h"
#include "model/file_names.h"
#include "model/identity_check.h"
#include "model/windows_1252.h"
#include "platform/file_system.h"
#include "platform/replace_file.h"
#include "reader/description_texts.h"
#include "reader/keyword.h"
#include "scenario_tool/command_line.h"
#include "scenario_tool/compile/compile_core.h"
#include "scenario_tool/compile/diagnostic_report.h"
#include "scenario_tool/compile/warning_names.h"
#include "scenario_tool/shared/failure_words.h"
#include "scenario_tool/shared/output_file.h"
#include "scenario_tool/shared/scenario_manifest.h"
#include "scenario_tool/subcommands.h"

namespace scenario_tool {
namespace {

struct compile_options {
  std::vector<std::string> inputs;  // DIR, or LINE_TEXT TRAIN_TEXT
  std::string line_text;            // as shown in diagnostics
  std::string train_text;
  std::filesystem::path line_file;  // as opened
  std::filesystem::path train_file;
  std::string route;
  std::string train;
  std::string out;
  bool out_given = false;  // --out, even empty (the current folder)
  bool no_plan = false;
  bool json = false;
  bool werror = false;
  std::vector<std::string> warning_options;  // -W
};

// The route identifier that a line text's name gives (<route>_linea.txt).
std::optional<std::string> route_from_name(const std::string& path) {
  const auto named = model::read_file_name(std::filesystem::path(path).filename().string());
  if (!named || named->file != model::scenario_file::line_text) return std::nullopt;
  return named->route_id;
}

// The train number that a train text's name gives (<route>_<train>-.txt).
std::optional<std::string> train_from_name(const std::string& path, const std::string& route) {
  const auto named = model::read_file_name(std::filesystem::path(path).filename().string(), route);
  if (!named || named->file != model::scenario_file::train_text) return std::nullopt;
  return named->train_number;
}

// An identity in the system's encoding, in Windows-1252: from UTF-8 on Linux;
// none when it holds a character that Windows-1252 lacks. On Windows the
// command line already comes in the system's single-byte code page.
std::optional<std::string> identity_from_system(const std::string& text) {
#ifdef _WIN32
  return text;
#else
  return model::windows_1252_from_utf8(text);
#endif
}

std::string warning_list() {
  std::string list;
  for (const warning_name& n : warning_names()) {
    if (!list.empty()) list += ", ";
    list += std::string(n.name) + " (" +
            (n.by_default == warning_level::error     ? "error"
             : n.by_default == warning_level::warning ? "warning"
                                                      : "off") +
            ")";
  }
  return list;
}

// A path as the diagnostics show it: UTF-8 on every platform.
std::string utf8_name(const std::filesystem::path& path) {
  const std::u8string name = path.u8string();
  return std::string(name.begin(), name.end());
}

// "wrote R_linea.dat, R_1.sim and R_1.dat into out": the one line that says
// where the compiled files went.
std::string written_line(const std::vector<std::string>& written, const std::string& out) {
  std::string line = "wrote ";
  for (std::size_t i = 0; i < written.size(); ++i) {
    if (i != 0) line += i + 1 == written.size() ? " and " : ", ";
    line += utf8_name(std::filesystem::path(written[i]).filename());
  }
  return line + " into " + out;
}

int usage_error(const streams& io, const std::string& what) {
  return report_usage_failure(io, "scenario_tool compile: " + what + " (see --help)");
}

bool contains_nocase(std::string_view text, std::string_view part) {
  return std::search(text.begin(), text.end(), part.begin(), part.end(), [](char a, char b) {
           return reader::ascii_lower(a) == reader::ascii_lower(b);
         }) != text.end();
}

// A text that gives the line's length is a line text; one with stations,
// line speeds or coaches and no length is a train text.
bool looks_like_line_text(std::string_view bytes) {
  return contains_nocase(bytes, "lunghezza") && contains_nocase(bytes, "percorso");
}
bool looks_like_train_text(std::string_view bytes) {
  return !looks_like_line_text(bytes) &&
         (contains_nocase(bytes, "stazione") || contains_nocase(bytes, "velocit") ||
          contains_nocase(bytes, "vetture"));
}

int run_compile(compile_options options, const std::string& usage, const streams& io) {
  warning_policy policy;
  if (options.werror) policy.apply("error");
  for (const std::string& option : options.warning_options) {
    if (const auto refused = policy.apply(option)) return usage_error(io, *refused);
  }
  bool plan = true;
  if (options.inputs.size() > 2) {
    return report_usage_failure(
        io,
        "scenario_tool compile: it takes a scenario folder or two texts (LINE_TEXT "
        "TRAIN_TEXT), not " +
            std::to_string(options.inputs.size()) + " names; usage: " + usage);
  }
  const bool from_manifest = options.inputs.size() != 2;
  if (options.inputs.size() == 2) {
    options.line_text = options.inputs[0];
    options.train_text = options.inputs[1];
    options.line_file = options.line_text;
    options.train_file = options.train_text;
  } else {
    // A scenario folder: its manifest names the texts and the identity.
    const std::filesystem::path folder = options.inputs.empty() ? "." : options.inputs[0];
    if (!options.route.empty() || !options.train.empty()) {
      return usage_error(io,
                         "--route and --train go with two texts; a folder's scenario.toml "
                         "names its route and train");
    }
    try {
      const scenario_manifest manifest = read_manifest(folder);
      // Opened by the path the manifest gives, never through a narrow name,
      // which on Windows would pass through the system's code page.
      options.line_file = folder / manifest.line_text;
      options.train_file = folder / manifest.train_text;
      options.line_text = utf8_name(options.line_file);
      options.train_text = utf8_name(options.train_file);
      options.route = manifest.identity.route_id;
      options.train = manifest.identity.train_number;
      plan = manifest.plan;
    } catch (const manifest_error& failure) {
      io.err << "scenario_tool compile: " << failure.what() << '\n';
      return status_failed;
    }
  }
  std::string line_bytes;
  std::string train_bytes;
  std::string unreadable;
  try {
    line_bytes = platform::read_file(options.line_file, reader::text_bound);
    train_bytes = platform::read_file(options.train_file, reader::text_bound);
  } catch (const std::exception& failure) {
    unreadable =
        std::string("cannot read the texts: ") + failure_words(failure) + "; no file written";
  }
  // The texts given in the other order are read in the order they belong.
  if (unreadable.empty() && looks_like_train_text(line_bytes) &&
      looks_like_line_text(train_bytes)) {
    io.err << "scenario_tool compile: note: " << options.line_text << " is a train text and "
           << options.train_text << " a line text: they are read in that order\n";
    std::swap(options.line_text, options.train_text);
    std::swap(options.line_file, options.train_file);
    std::swap(line_bytes, train_bytes);
  }

  compile_request request;
  request.route_id = options.route;
  request.train_number = options.train;
  if (!from_manifest) {
    // An identity given on the command line or read from a text's name is in
    // the system's encoding; the compiled files carry it in Windows-1252, as
    // a manifest's.
    for (const auto& [part, what] : {std::pair{&request.route_id, "the route identifier"},
                                     std::pair{&request.train_number, "the train number"}}) {
      const auto converted = identity_from_system(*part);
      if (!converted) {
        return usage_error(io, std::string(what) + " \"" + *part +
                                   "\" holds a character that Windows-1252 file names cannot "
                                   "carry");
      }
      *part = *converted;
    }
  }
  // A text that cannot be read is the first thing to mend, whatever its name.
  if (unreadable.empty() && request.route_id.empty()) {
    const auto route = route_from_name(options.line_text);
    const auto converted = route ? identity_from_system(*route) : std::nullopt;
    if (!converted) {
      return usage_error(io,
                         "the line text's name does not say the route (<route>_linea.txt): "
                         "give --route");
    }
    request.route_id = *converted;
  }
  if (unreadable.empty() && request.train_number.empty()) {
    const auto named = train_from_name(options.train_text, options.route.empty()
                                                               ? *route_from_name(options.line_text)
                                                               : options.route);
    const auto train = named ? identity_from_system(*named) : std::nullopt;
    if (!train) {
      return usage_error(io, "the train text's name does not say the train number (" +
                                 request.route_id + "_<train>-.txt): give --train");
    }
    request.train_number = *train;
  }
  // The identity names the compiled files: a plain name on Windows and Linux alike.
  if (unreadable.empty()) {
    if (const auto fault = model::identity_fault({request.route_id, request.train_number})) {
      return usage_error(io, *fault);
    }
  }
  request.plan = plan && !options.no_plan;
  // Without --out, a scenario folder's files go into its own "compiled"
  // folder, beside the texts and never over them; two texts' files go into
  // the current folder. An empty folder name means the current folder.
  const std::string out =
      !options.out_given && from_manifest
          ? utf8_name(std::filesystem::path(options.inputs.empty() ? "." : options.inputs[0]) /
                      "compiled")
      : options.out.empty() ? std::string(".")
                            : options.out;

  std::vector<diagnostic> diagnostics;
  std::vector<std::string> written;
  bool stopped = false;
  const auto stop = [&](const std::string& file, const std::string& why) {
    diagnostic d;
    d.file = file;
    d.text = why;
    diagnostics.push_back(std::move(d));
    stopped = true;
  };

  if (!unreadable.empty()) stop("", unreadable);

  if (!stopped) {
    request.line = source_text(options.line_text, std::move(line_bytes));
    request.train = source_text(options.train_text, std::move(train_bytes));
    compile_result result = compile_texts(request);
    diagnostics = std::move(result.diagnostics);
    stopped = result.stopped;
    if (!stopped) {
      const model::scenario_model& model = *result.model;
      try {
        std::filesystem::create_directories(out);
        // Nothing is written (nor an older plan removed) unless every name
        // may be replaced: a device, pipe or folder at one is refused first.
        for (const std::string& name : {model::file_name(model, model::scenario_file::plan),
                                        model::file_name(model, model::scenario_file::stations),
                                        model::file_name(model, model::scenario_file::cells)}) {
          check_output_name(output_path(out, name));
        }
        if (model.plan_flag == 0) {
          // A plan left by an earlier compile was built from other texts: it
          // goes before the new cells are written, so the folder never holds
          // a plan that does not belong to its cells.
          const std::filesystem::path older =
              output_path(out, model::file_name(model, model::scenario_file::plan));
          if (std::filesystem::exists(std::filesystem::symlink_status(older))) {
            platform::remove_file(older);
            diagnostic d;
            d.level = severity::note;
            d.text = "removed the older track plan " + older.string() + ": with " +
                     (options.no_plan ? "--no-plan" : "plan = false in scenario.toml") +
                     " no plan is built, and the cells now written would not match it";
            diagnostics.push_back(std::move(d));
          }
        }
        assembly::write_compiled_files(
            model, [&](const std::string& own_name) { return output_path(out, own_name); });
        if (model.plan_flag != 0) {
          written.push_back(
              output_path(out, model::file_name(model, model::scenario_file::plan)).string());
        }
        written.push_back(
            output_path(out, model::file_name(model, model::scenario_file::stations)).string());
        written.push_back(
            output_path(out, model::file_name(model, model::scenario_file::cells)).string());
      } catch (const std::exception& failure) {
        stop("", std::string("cannot write the compiled files: ") + failure_words(failure));
        written.clear();
      }
    }
  }

  policy.apply_to(diagnostics);
  const int status = stopped || count(diagnostics).errors != 0 ? status_failed : status_ok;
  if (options.json) {
    io.out << render_json(diagnostics, status, written)
                  .dump(2, ' ', false, nlohmann::json::error_handler_t::replace)
           << '\n';
  } else {
    io.err << render_text(diagnostics);
    if (!written.empty()) io.out << written_line(written, out) << '\n';
  }
  return status;
}

}  // namespace

subcommand add_compile(CLI::App& app, const streams& io) {
  auto options = std::make_shared<compile_options>();
  CLI::App* command = app.add_subcommand(
      "compile",
      "Compile a line and a train description text into the three compiled files, exactly as the "
      "installer does, naming every problem by file, line and column. The texts are only read.");
  command->add_option("INPUT", options->inputs,
                      "A scenario folder with its scenario.toml (default: the current folder), or "
                      "LINE_TEXT TRAIN_TEXT: the line description text (<route>_linea.txt) and the "
                      "train description text (<route>_<train>-.txt)");
  command->add_option("--route", options->route,
                      "Route identifier (default: from the line text's name)");
  command->add_option("--train", options->train,
                      "Train number (default: from the train text's name)");
  command
      ->add_option("--out", options->out,
                   "Folder for the compiled files (default: DIR/compiled for a scenario folder, "
                   "the current folder for two texts)")
      ->each([options](const std::string&) { options->out_given = true; });
  command->add_flag("--no-plan", options->no_plan,
                    "Neither build nor write the track plan; an older plan in the output folder "
                    "is removed, since it would not match the new cells");
  command->add_flag("--json", options->json,
                    "Print the diagnostics as one JSON document on standard output");
  command->add_flag("--werror", options->werror, "Treat warnings as errors (the same as -W error)");
  command
      ->add_option("-W", options->warning_options,
                   "A named warning: -W no-NAME turns it off, -W error=NAME makes it an error, "
                   "-W no-error=NAME a warning, -W NAME turns on one that is off by default; "
                   "-W error makes every warning an error")
      ->take_all()
      ->allow_extra_args(false);
  command->footer(
      "Diagnostics go to the error stream as FILE:LINE:COLUMN: error|warning: ..., each with "
      "the row as written and a caret under the field at fault, then 'N errors, M warnings'.\n"
      "The compiled files are written also when an error was recorded; none when the run stops. "
      "One line on standard output says which were written, and where.\n"
      "Named warnings (default level): " +
      warning_list() +
      ".\n"
      "Exit status: 0 compiled with no error (warnings allowed), 1 an error was recorded or the "
      "run stopped, 2 the command line could not be understood.");
  return {command,
          [options, command, io]() { return run_compile(*options, usage_line(*command), io); }};
}

}  // namespace scenario_tool
