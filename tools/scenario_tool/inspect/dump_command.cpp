// dump FILE [--json] [--from N] [--to N] [--kind K]: a compiled file decoded
// into text a person reads, or into JSON, with its header slots checked.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>

#include "assembly/compiled_decoder.h"
#include "assembly/record_layouts.h"
#include "platform/replace_file.h"
#include "scenario_tool/inspect/author_units.h"
#include "scenario_tool/inspect/dump_output.h"
#include "scenario_tool/inspect/kind_option.h"
#include "scenario_tool/inspect/scenario_checks.h"
#include "scenario_tool/shared/failure_words.h"
#include "scenario_tool/shared/record_fields.h"
#include "scenario_tool/shared/windows_1252.h"
#include "scenario_tool/subcommands.h"

namespace scenario_tool {

using assembly::decoded_file;
using assembly::describe;
using assembly::file_kind;
using assembly::read_compiled_file;

namespace {

using json = nlohmann::ordered_json;

struct dump_options {
  std::string file;
  bool as_json = false;
  std::int64_t from = std::numeric_limits<std::int64_t>::min();
  std::int64_t to = std::numeric_limits<std::int64_t>::max();
  std::string kind;
};

// The indices from..to of a table of `count` records, clamped to it.
struct index_range {
  std::int64_t first;
  std::int64_t last;  // below first when nothing is selected
};
index_range select(const dump_options& o, std::int64_t count) {
  return {std::max<std::int64_t>(o.from, 0), std::min<std::int64_t>(o.to, count - 1)};
}

// A range that selects nothing is said, with the indices the file holds:
// "no cell from 2500: the file holds cells 0 to 1960".
void say_when_nothing_selected(std::ostream& out, const dump_options& o, const index_range& r,
                               std::int64_t count, const char* record, const char* records) {
  if (r.first <= r.last) return;
  out << "no " << record;
  if (o.from != std::numeric_limits<std::int64_t>::min()) out << " from " << o.from;
  if (o.to != std::numeric_limits<std::int64_t>::max()) out << " to " << o.to;
  out << ": the file holds " << records << " 0 to " << count - 1 << '\n';
}

// Line speeds and gradients in the author's units; the stored numbers are in the JSON.
std::string cell_line(std::size_t i, const model::track_cell& cell) {
  return cell_text(i, cell);
}

std::string station_line(int i, const model::station_entry& entry) {
  const model::station_role role = station_role_of(i, entry);
  std::string line = "station " + std::to_string(i) + " " + station_role(i, entry);
  if (role == model::station_role::empty ||
      (role == model::station_role::unused && entry == model::station_entry{})) {
    return line;
  }
  line += " " + quoted_name(entry.name);
  if (role == model::station_role::sign_text) return line;
  if (const std::string_view meaning = station_role_fields(i); !meaning.empty()) {
    line += " (" + std::string(meaning) + ")";
  }
  line += ":";
  // The name is quoted above; the numbers follow in file order.
  bool first = true;
  for (const assembly::field_value& f : assembly::field_values(entry)) {
    if (f.text != nullptr) continue;
    line +=
        (first ? " " : ", ") + station_field_name(role, f.name) + " " + std::to_string(f.number);
    first = false;
  }
  if (role == model::station_role::station) line += " (" + clock_text(entry.time) + ")";
  return line;
}

json element_json(const model::plan_value& v) {
  using layout = assembly::plan_element_layout;
  json j;
  j[std::string(layout::tag_field)] = static_cast<int>(v.tag);
  json& value = j[std::string(layout::value_field)];
  if (v.tag == model::plan_tag::empty) {
    value = nullptr;
  } else if (std::isfinite(v.number)) {
    value = v.number;
  } else {
    value = number_text(v.number);  // JSON has no infinities or NaN
  }
  return j;
}

void print_text(std::ostream& out, const decoded_file& file, const std::string& name,
                const std::vector<check_result>& checks, const dump_options& o) {
  out << name << ": " << describe(file.kind) << ", ";
  switch (file.kind) {
    case file_kind::cells:
      out << file.cells.size() << " cells";
      break;
    case file_kind::stations:
      out << file.stations.size() << " entries";
      break;
    case file_kind::plan:
      out << "metres 0 to " << file.plan.last_metre() << ", a line of " << file.line_length << " m";
      break;
  }
  out << ", " << file.size << " bytes\n";
  for (const check_result& check : checks) out << "check " << check_line(check) << '\n';
  switch (file.kind) {
    case file_kind::cells: {
      const index_range r = select(o, static_cast<std::int64_t>(file.cells.size()));
      for (std::int64_t i = r.first; i <= r.last; ++i) {
        out << cell_line(static_cast<std::size_t>(i), file.cells[static_cast<std::size_t>(i)])
            << '\n';
      }
      say_when_nothing_selected(out, o, r, static_cast<std::int64_t>(file.cells.size()), "cell",
                                "cells");
      break;
    }
    case file_kind::stations: {
      const index_range r = select(o, static_cast<std::int64_t>(file.stations.size()));
      for (std::int64_t i = r.first; i <= r.last; ++i) {
        out << station_line(static_cast<int>(i), file.stations[static_cast<std::size_t>(i)])
            << '\n';
      }
      say_when_nothing_selected(out, o, r, static_cast<std::int64_t>(file.stations.size()),
                                "station entry", "entries");
      break;
    }
    case file_kind::plan: {
      const index_range r = select(o, std::int64_t{file.plan.last_metre()} + 1);
      std::string line;
      for (std::int64_t m = r.first; m <= r.last; ++m) {
        const auto metre = static_cast<std::int32_t>(m);
        line = "metre " + std::to_string(m) + ": x " + plan_value_text(file.plan.at(metre, 0)) +
               ", y " + plan_value_text(file.plan.at(metre, 1)) + '\n';
        out << line;
      }
      say_when_nothing_selected(out, o, r, std::int64_t{file.plan.last_metre()} + 1, "plan metre",
                                "metres");
      break;
    }
  }
}

// Writes one JSON value as `dump(2)` would write it at `depth` levels of
// nesting: each of its lines indented by two blanks a level. Strings hold no
// raw line ends (they are escaped), so every line end is the layout's.
void write_nested(std::ostream& out, const json& value, int depth) {
  const std::string text = value.dump(2, ' ', false, json::error_handler_t::replace);
  const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
  std::string nested = indent;
  nested.reserve(text.size() * 2);
  for (const char c : text) {
    nested.push_back(c);
    if (c == '\n') nested += indent;
  }
  out << nested;
}

// The document's head: everything but the array of cells, entries or metres.
json head_json(const decoded_file& file, const std::string& name,
               const std::vector<check_result>& checks) {
  json doc;
  doc["version"] = json_version;
  doc["file"] = name;  // as the system names it; invalid UTF-8 is replaced on output
  doc["kind"] = describe(file.kind);
  doc["bytes"] = file.size;
  json& check_list = doc["checks"] = json::array();
  for (const check_result& c : checks) {
    check_list.push_back({{"what", c.what},
                          {"found", c.found},
                          {"expected", c.expected.empty() ? json(nullptr) : json(c.expected)},
                          {"basis", c.basis},
                          {"ok", c.ok}});
  }
  if (file.kind == file_kind::plan) doc["line_length"] = file.line_length;
  return doc;
}

json cell_json(std::int64_t i, const model::track_cell& cell) {
  json c = {{"index", i}, {"chainage", i * 50}, {"kind_name", cell_kind_name(cell.kind)}};
  for (const assembly::field_value& f : assembly::field_values(cell)) {
    c[std::string(f.name)] = f.number;
  }
  // Beside the stored numbers, the author's: km/h, per mille, the row's chainage.
  c["speed_limit_kmh"] = *author_number("speed_limit", cell.speed_limit);
  c["gradient_permille"] = *author_number("gradient", cell.gradient);
  const auto row = written_chainage(static_cast<std::size_t>(i), cell.kind);
  c["row_chainage"] = row ? json(*row) : json(nullptr);
  return c;
}

json station_json(std::int64_t i, const model::station_entry& entry) {
  json e = {{"index", i},
            {"role", station_role(static_cast<int>(i), entry)},
            {"name", utf8_from_windows_1252(entry.name)}};
  // The name stands above, as UTF-8; the numbers follow in file order.
  for (const assembly::field_value& f : assembly::field_values(entry)) {
    if (f.text == nullptr) e[std::string(f.name)] = f.number;
  }
  return e;
}

json metre_json(std::int64_t i, const model::track_plan& plan) {
  const auto metre = static_cast<std::int32_t>(i);
  return {
      {"metre", i}, {"x", element_json(plan.at(metre, 0))}, {"y", element_json(plan.at(metre, 1))}};
}

// The whole document, written as it is made: the head, then the records one
// at a time, so that a plan of millions of metres is never held twice (once
// decoded, once as JSON) in memory.
void write_json(std::ostream& out, const decoded_file& file, const std::string& name,
                const std::vector<check_result>& checks, const dump_options& o) {
  std::string head =
      head_json(file, name, checks).dump(2, ' ', false, json::error_handler_t::replace);
  head.resize(head.size() - 2);  // the closing "\n}"
  std::int64_t count = 0;
  const char* key = "";
  switch (file.kind) {
    case file_kind::cells:
      key = "cells";
      count = static_cast<std::int64_t>(file.cells.size());
      break;
    case file_kind::stations:
      key = "stations";
      count = static_cast<std::int64_t>(file.stations.size());
      break;
    case file_kind::plan:
      key = "metres";
      count = std::int64_t{file.plan.last_metre()} + 1;
      break;
  }
  out << head << ",\n  \"" << key << "\": [";
  const index_range r = select(o, count);
  for (std::int64_t i = r.first; i <= r.last; ++i) {
    out << (i == r.first ? "\n" : ",\n");
    const auto at = static_cast<std::size_t>(i);
    switch (file.kind) {
      case file_kind::cells:
        write_nested(out, cell_json(i, file.cells[at]), 2);
        break;
      case file_kind::stations:
        write_nested(out, station_json(i, file.stations[at]), 2);
        break;
      case file_kind::plan:
        write_nested(out, metre_json(i, file.plan), 2);
        break;
    }
  }
  out << (r.first <= r.last ? "\n  ]\n}\n" : "]\n}\n");
}

}  // namespace

int dump_decoded(const decoded_file& file, const std::filesystem::path& path,
                 const companion_files& companions, bool as_json, std::int64_t from,
                 std::int64_t to, std::ostream& out) {
  dump_options o;
  o.as_json = as_json;
  o.from = from;
  o.to = to;
  const std::vector<check_result> checks = header_checks(file, path, companions);
  const std::string name = path.filename().string();
  if (as_json) {
    write_json(out, file, name, checks, o);
  } else {
    print_text(out, file, name, checks, o);
  }
  const bool all_ok =
      std::all_of(checks.begin(), checks.end(), [](const check_result& c) { return c.ok; });
  return all_ok ? status_ok : status_failed;
}

subcommand add_dump(CLI::App& app, const streams& io) {
  auto o = std::make_shared<dump_options>();
  CLI::App* command = app.add_subcommand(
      "dump",
      "Decode a compiled scenario file (track plan _linea.dat, station table .sim, track cells "
      ".dat) into text or JSON, with its header slots checked.");
  command->add_option("FILE", o->file, "The compiled file")->required();
  command->add_flag("--json", o->as_json, "Print JSON instead of text");
  command->add_option("--from", o->from,
                      "First cell or station entry by index, first plan metre by metre");
  command->add_option("--to", o->to, "Last cell or station entry by index, last plan metre");
  command->add_option("--kind", o->kind, "The file's kind, when its name does not say")
      ->check(CLI::IsMember({"plan", "stations", "cells"}));
  return {command, [o, io]() {
            const std::filesystem::path path(o->file);
            try {
              const file_kind kind = kind_of(path, kind_from_word(o->kind));
              const decoded_file file = read_compiled_file(path, kind);
              return dump_decoded(file, path, find_companions(path, kind), o->as_json, o->from,
                                  o->to, io.out);
            } catch (const std::invalid_argument& failure) {
              io.err << "scenario_tool dump: " << failure_words(failure) << '\n';
              return status_usage;
            } catch (const platform::file_error& failure) {
              io.err << "scenario_tool dump: " << failure_words(failure) << '\n';
              return status_failed;
            } catch (const std::exception& failure) {
              io.err << "scenario_tool dump: " << o->file << ": " << failure_words(failure) << '\n';
              return status_failed;
            }
          }};
}

}  // namespace scenario_tool
