// The subcommands of the authors' tool. Each adds itself to the command line
// and returns its action.
#pragma once

#include "scenario_tool/tool.h"

namespace scenario_tool {

// example DIR: writes the shipped scenario into DIR as a scenario folder.
subcommand add_example(CLI::App& app, const streams& io);
// new DIR --route R --train T: writes a minimal scenario folder.
subcommand add_new(CLI::App& app, const streams& io);
// package [DIR] --platform P --out FILE: the installer drivers run.
subcommand add_package(CLI::App& app, const streams& io);
// dump FILE: a compiled file decoded into text or JSON, its header slots checked.
subcommand add_dump(CLI::App& app, const streams& io);
// diff A B: two compiled files of one kind compared record by record.
subcommand add_diff(CLI::App& app, const streams& io);
// draw: an SVG picture of the line, from its texts or its compiled files.
subcommand add_draw(CLI::App& app, const streams& io);
// view: the line's interactive page served on 127.0.0.1, reloaded on save.
subcommand add_view(CLI::App& app, const streams& io);
// compile LINE_TEXT TRAIN_TEXT: compiles an author's texts with diagnostics.
subcommand add_compile(CLI::App& app, const streams& io);
// explain [TOPIC]: the format reference's entry for a keyword, code or warning.
subcommand add_explain(CLI::App& app, const streams& io);
// fmt [--check] TEXT...: description texts aligned in columns, in place.
subcommand add_fmt(CLI::App& app, const streams& io);
// lsp: a language server for the description texts on standard input and output.
subcommand add_lsp(CLI::App& app, const streams& io);

}  // namespace scenario_tool
