// explain [TOPIC]: the format reference's entry for a keyword, an error code,
// a warning's name or a topic, as the page docs/format-reference.md shows it;
// without a topic, the list of entries.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "scenario_tool/explain/reference_entries.h"
#include "scenario_tool/subcommands.h"

namespace scenario_tool {
namespace {

bool is_number(std::string_view s) {
  return !s.empty() && s.size() <= 9 &&
         std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The error codes the reference has an entry for, as runs: "1 to 13, 15 to 22,
// 24, 25, ... and 1251".
std::string error_codes_listed(const std::vector<reference_entry>& entries) {
  std::vector<long> codes;
  for (const reference_entry& entry : entries) {
    for (const std::string& name : entry.names) {
      if (is_number(name)) codes.push_back(std::stol(name));
    }
  }
  std::sort(codes.begin(), codes.end());
  codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
  std::vector<std::string> runs;
  for (std::size_t i = 0; i < codes.size();) {
    std::size_t j = i;
    while (j + 1 < codes.size() && codes[j + 1] == codes[j] + 1) ++j;
    if (j >= i + 2) {
      runs.push_back(std::to_string(codes[i]) + " to " + std::to_string(codes[j]));
    } else {
      for (std::size_t k = i; k <= j; ++k) runs.push_back(std::to_string(codes[k]));
    }
    i = j + 1;
  }
  std::string listed;
  for (std::size_t i = 0; i < runs.size(); ++i) {
    if (i > 0) listed += i + 1 == runs.size() ? " and " : ", ";
    listed += runs[i];
  }
  return listed;
}

}  // namespace

subcommand add_explain(CLI::App& app, const streams& io) {
  auto topic = std::make_shared<std::string>();
  CLI::App* command = app.add_subcommand(
      "explain",
      "Print the format reference's entry for a keyword of the description texts, an error "
      "code, a warning's name or a topic; without one, list the entries.");
  command->add_option("TOPIC", *topic,
                      "A keyword (pendenza, curvad2, stazione), an error code (16), a warning's "
                      "name (chainage-rounded) or a topic (comments, cells, json, template)");
  return {command, [topic, io]() {
            const std::vector<reference_entry> entries = reference_entries(format_reference());
            if (topic->empty()) {
              for (const reference_entry& entry : entries) {
                io.out << entry.names.front() << "  -  " << entry.title << '\n';
              }
              return status_ok;
            }
            const reference_entry* entry = find_entry(entries, *topic);
            if (entry == nullptr && is_number(*topic)) {
              // A number is an error code: the nearest spelling of another
              // code means nothing.
              io.err << "scenario_tool explain: there is no error " << *topic << "; the errors are "
                     << error_codes_listed(entries) << '\n';
              return status_failed;
            }
            if (entry == nullptr) {
              io.err << "scenario_tool explain: the format reference has no entry '" << *topic
                     << "'";
              const std::string near = nearest_entry_name(entries, *topic);
              if (!near.empty()) io.err << "; did you mean '" << near << "'?";
              io.err << " (scenario_tool explain lists them)\n";
              return status_failed;
            }
            io.out << entry->text;
            return status_ok;
          }};
}

}  // namespace scenario_tool
