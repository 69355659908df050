// fmt [--check] FILE|DIR...: the description texts laid out with each
// keyword's rows aligned in columns. A scenario folder stands for the two
// texts its manifest names. Each text that changes is replaced whole through
// a temporary file beside it; with --check nothing is written and the texts
// that would change are named (exit status 1), for an author's CI.
#include <CLI/CLI.hpp>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/replace_file.h"
#include "reader/description_texts.h"
#include "scenario_tool/fmt/row_alignment.h"
#include "scenario_tool/shared/failure_words.h"
#include "scenario_tool/shared/scenario_manifest.h"
#include "scenario_tool/subcommands.h"

namespace scenario_tool {
namespace {

struct fmt_options {
  std::vector<std::string> inputs;
  bool check = false;
};

// The texts an input stands for: a scenario folder's two, or the file itself.
std::vector<std::filesystem::path> texts_of(const std::string& input) {
  const std::filesystem::path path(input);
  std::error_code ignored;
  if (!std::filesystem::is_directory(path, ignored)) return {path};
  const scenario_manifest manifest = read_manifest(path);
  return {path / manifest.line_text, path / manifest.train_text};
}

// Formats one text; returns whether it was (or, checking, would be) changed.
bool format_text(const std::filesystem::path& text, bool check, const streams& io) {
  const std::string bytes = platform::read_file(text, reader::text_bound);
  const std::optional<std::string> aligned = aligned_text(bytes);
  if (!aligned) {
    io.err << "scenario_tool fmt: " << text.string()
           << ": left as it is: aligned, it would be longer than a description text may be\n";
    return false;
  }
  if (*aligned == bytes) return false;
  if (check) {
    io.out << text.string() << '\n';
    return true;
  }
  // A link keeps standing: the file it leads to is the one replaced.
  std::error_code not_a_link;
  const std::filesystem::path target =
      std::filesystem::is_symlink(text, not_a_link) ? std::filesystem::canonical(text) : text;
  platform::replace_file(target, *aligned);
  io.out << "formatted " << text.string() << '\n';
  return true;
}

}  // namespace

subcommand add_fmt(CLI::App& app, const streams& io) {
  auto options = std::make_shared<fmt_options>();
  CLI::App* command = app.add_subcommand(
      "fmt",
      "Lay out description texts with each keyword's rows aligned in columns (only blanks "
      "change: the texts compile to the same bytes). A scenario folder stands for its two "
      "texts. Each text that changes is rewritten in place; with --check none is, and the "
      "texts that would change are listed (exit status 1).");
  command->add_option("TEXT", options->inputs, "Description texts or scenario folders")->required();
  command->add_flag("--check", options->check,
                    "Write nothing; list the texts that would change and exit with 1 if any");
  return {command, [options, io]() {
            bool changed = false;
            bool failed = false;
            for (const std::string& input : options->inputs) {
              try {
                for (const std::filesystem::path& text : texts_of(input)) {
                  changed = format_text(text, options->check, io) || changed;
                }
              } catch (const manifest_error& failure) {
                io.err << "scenario_tool fmt: " << failure.what() << '\n';
                failed = true;
              } catch (const std::exception& failure) {
                io.err << "scenario_tool fmt: " << failure_words(failure) << '\n';
                failed = true;
              }
            }
            return failed || (options->check && changed) ? status_failed : status_ok;
          }};
}

}  // namespace scenario_tool
