// explain [TOPIC]: the format reference's entry for a keyword, an error code,
// a warning's name or a topic, as the page docs/format-reference.md shows it;
// without a topic, the list of entries.
#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>
#include <string>

#include "scenario_tool/explain/reference_entries.h"
#include "scenario_tool/subcommands.h"

namespace scenario_tool {

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
