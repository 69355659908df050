// draw [DIR] --svg OUT (a scenario folder), draw LINE_TEXT TRAIN_TEXT --svg OUT,
// or draw COMPILED_FOLDER --svg OUT: a picture of the line as one
// self-contained SVG file, or with --html FILE the interactive page.
#include <CLI/CLI.hpp>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "model/scenario_identity.h"
#include "platform/replace_file.h"
#include "scenario_tool/command_line.h"
#include "scenario_tool/compile/diagnostic_report.h"
#include "scenario_tool/draw/draw_sources.h"
#include "scenario_tool/draw/html_page.h"
#include "scenario_tool/draw/line_drawing.h"
#include "scenario_tool/draw/page_data.h"
#include "scenario_tool/shared/failure_words.h"
#include "scenario_tool/shared/output_file.h"
#include "scenario_tool/shared/scenario_manifest.h"
#include "scenario_tool/shared/windows_1252.h"
#include "scenario_tool/subcommands.h"

namespace scenario_tool {

namespace {

struct draw_options {
  std::vector<std::string> inputs;
  std::string svg;
  std::string html;
  std::string train;
};

}  // namespace

subcommand add_draw(CLI::App& app, const streams& io) {
  auto o = std::make_shared<draw_options>();
  CLI::App* command = app.add_subcommand(
      "draw",
      "Draw the line as an SVG picture (--svg) or an interactive page (--html): its plan, and on "
      "one chainage axis the gradient, curves, "
      "speed limits, signals, slowdowns, speed points and stations. Give a scenario folder, the "
      "line and train description texts, or a folder of compiled files.");
  command
      ->add_option("INPUT", o->inputs,
                   "A scenario folder with its scenario.toml, LINE_TEXT TRAIN_TEXT, or a folder "
                   "of compiled files (default: the current folder)")
      ->expected(0, 2);
  command->add_option("--svg", o->svg, "The SVG file to write, or - for standard output");
  command->add_option(
      "--html", o->html,
      "The interactive page to write as one self-contained HTML file (zoom, hover, click to the "
      "row; no network needed), or - for standard output");
  command->add_option("--train", o->train,
                      "With a folder holding several trains' files: the train to draw");
  command->footer(
      "From texts, draw compiles them as compile does and prints the same diagnostics; the "
      "picture is drawn all the same, with the errors written on it.");
  return {
      command, [o, io, command]() {
        int status = status_ok;
        if (o->svg == "-" && o->html == "-") {
          io.err << "scenario_tool draw: only one of --svg and --html can be standard output (-)"
                 << '\n';
          return status_usage;
        }
        if (o->svg.empty() && o->html.empty()) {
          io.err << "scenario_tool draw: --svg or --html is missing; usage: "
                 << usage_line(*command) << '\n';
          return status_usage;
        }
        try {
          line_picture picture;
          std::vector<source_row> rows;
          std::vector<diagnostic> diagnostics;
          if (o->inputs.empty()) o->inputs.push_back(".");
          // From texts: the compile's diagnostics, not the picture's notes.
          bool from_texts = true;
          const auto draw_texts = [&](const std::filesystem::path& line_text,
                                      const std::filesystem::path& train_text,
                                      const model::scenario_identity* named) {
            drawn_texts drawn = picture_from_texts(line_text, train_text, named);
            io.err << render_text(drawn.diagnostics);
            if (drawn.stopped || count(drawn.diagnostics).errors != 0) status = status_failed;
            picture = std::move(drawn.picture);
            rows = std::move(drawn.rows);
            diagnostics = std::move(drawn.diagnostics);
            return !picture.cells.empty();
          };
          bool drawable = true;
          if (o->inputs.size() == 2) {
            drawable = draw_texts(o->inputs[0], o->inputs[1], nullptr);
          } else if (is_scenario_folder(o->inputs[0])) {
            const std::filesystem::path folder = o->inputs[0];
            const scenario_manifest manifest = read_manifest(folder);
            drawable = draw_texts(folder / manifest.line_text, folder / manifest.train_text,
                                  &manifest.identity);
          } else if (std::filesystem::is_directory(o->inputs[0])) {
            from_texts = false;
            picture = picture_from_folder(o->inputs[0], o->train);
          } else {
            io.err << "scenario_tool draw: " << o->inputs[0]
                   << " is not a folder: give a folder of compiled files, or the line and "
                      "train description texts\n";
            return status_usage;
          }
          if (!drawable) {
            io.err << "scenario_tool draw: nothing to draw: the line text gave no track "
                      "cells\n";
            return status_failed;
          }
          const std::string title = "Line " + picture.route_id + ", train " + picture.train_number;
          const auto put = [&](const std::string& out, const std::string& document) {
            if (out == "-") {
              io.out << document;
            } else {
              replace_output_file(out, document);
            }
          };
          if (!o->svg.empty()) put(o->svg, draw_svg(picture));
          if (!o->html.empty()) {
            put(o->html, html_page(page_json(picture, rows, diagnostics),
                                   utf8_from_windows_1252(title), false));
          }
          if (!from_texts) {
            for (const std::string& note : picture.notes) {
              io.err << "scenario_tool draw: " << note << '\n';
            }
          }
        } catch (const std::exception& failure) {
          io.err << "scenario_tool draw: " << failure_words(failure) << '\n';
          return status_failed;
        }
        for (const std::string* written : {&o->svg, &o->html}) {
          if (!written->empty() && *written != "-") io.out << *written << '\n';
        }
        return status;
      }};
}

}  // namespace scenario_tool
