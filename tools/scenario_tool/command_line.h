// The tool's command-line manners: usage lines built from what each subcommand
// takes, and a command line that cannot be understood told in one line of the
// tool's own words (with the nearest subcommand or option), as JSON too when
// --json was asked for.
#pragma once

#include <string>

#include "scenario_tool/tool.h"

namespace CLI {
class App;
class ParseError;
}  // namespace CLI

namespace scenario_tool {

// "scenario_tool compile LINE_TEXT TRAIN_TEXT [--route ROUTE] ... [--json]".
std::string usage_line(const CLI::App& command);

// What went wrong with the command line, in the tool's words, naming the
// subcommand ("scenario_tool compile: ..."): the failure of `error` as the
// parse left `app`; `last_word` is the command line's last argument.
std::string command_line_failure(const CLI::App& app, const CLI::ParseError& error,
                                 const std::string& last_word);

// Prints a command line that cannot be understood: one line on the error
// stream and, under --json, a JSON document on standard output. Returns 2.
int report_usage_failure(const streams& io, const std::string& line);

}  // namespace scenario_tool
