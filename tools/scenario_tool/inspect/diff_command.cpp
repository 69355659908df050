// diff A B: two compiled files of the same kind, record by record, each
// difference on one line and a count at the end. Cells that changed alike
// make one line, and the plans' differing metres one summary, unless --all.
#include <CLI/CLI.hpp>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "assembly/compiled_decoder.h"
#include "assembly/record_layouts.h"
#include "platform/replace_file.h"
#include "scenario_tool/inspect/author_units.h"
#include "scenario_tool/inspect/kind_option.h"
#include "scenario_tool/shared/cell_meaning.h"
#include "scenario_tool/shared/failure_words.h"
#include "scenario_tool/shared/record_fields.h"
#include "scenario_tool/subcommands.h"

namespace scenario_tool {

using assembly::decoded_file;
using assembly::describe;
using assembly::file_kind;
using assembly::read_compiled_file;

namespace {

struct diff_options {
  std::string a;
  std::string b;
  std::string kind;
  bool all = false;
};

class difference_printer {
 public:
  explicit difference_printer(std::ostream& out) : out_(out) {}
  void line(const std::string& text) {
    out_ << text << '\n';
    ++count_;
  }
  std::size_t count() const { return count_; }

 private:
  std::ostream& out_;
  std::size_t count_ = 0;
};

// One field of a cell that differs between A and B.
struct field_change {
  std::string_view field;
  std::int64_t from;
  std::int64_t to;
  bool operator==(const field_change&) const = default;
};

std::vector<field_change> changes_in(const model::track_cell& a, const model::track_cell& b) {
  std::vector<field_change> changes;
  const auto fa = assembly::field_values(a);
  const auto fb = assembly::field_values(b);
  for (std::size_t f = 0; f < fa.size(); ++f) {
    if (fa[f].number != fb[f].number) {
      changes.push_back({fa[f].name, fa[f].number, fb[f].number});
    }
  }
  return changes;
}

// "speed_limit 120 → 100 km/h (stored 24 → 20)", "kind empty → signal (0 → 1)", "value 43 → 44".
std::string change_text(const field_change& c) {
  const std::string arrow = " \u2192 ";
  std::string text(c.field);
  const auto from = in_author_units(c.field, c.from);
  const auto to = in_author_units(c.field, c.to);
  if (from && to) {
    const std::string unit = from->substr(from->find(' '));
    return text + " " + std::to_string(*author_number(c.field, c.from)) + arrow +
           std::to_string(*author_number(c.field, c.to)) + unit + " (stored " +
           std::to_string(c.from) + arrow + std::to_string(c.to) + ")";
  }
  if (c.field == "kind") {
    return text + " " + cell_kind_name(static_cast<std::uint8_t>(c.from)) + arrow +
           cell_kind_name(static_cast<std::uint8_t>(c.to)) + " (" + std::to_string(c.from) + arrow +
           std::to_string(c.to) + ")";
  }
  return text + " " + std::to_string(c.from) + arrow + std::to_string(c.to);
}

std::string cell_label(std::size_t i) {
  return "cell " + std::to_string(i) + " (" + std::to_string(i * 50) + " m)";
}

// Cells that changed the same way one after the other make one line ("cells
// 400 to 431 (20000 to 21599 m): speed_limit 120 → 100 km/h ..."); with
// `every_cell`, each cell has its line.
void diff_cells(const std::vector<model::track_cell>& a, const std::vector<model::track_cell>& b,
                bool every_cell, difference_printer& print) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common;) {
    if (a[i] == b[i]) {
      ++i;
      continue;
    }
    const std::vector<field_change> changes = changes_in(a[i], b[i]);
    std::size_t last = i;
    while (!every_cell && last + 1 < common && !(a[last + 1] == b[last + 1]) &&
           changes_in(a[last + 1], b[last + 1]) == changes) {
      ++last;
    }
    std::string line = last == i ? cell_place(i, a[i].kind != 0 ? a[i].kind : b[i].kind)
                                 : "cells " + std::to_string(i) + " to " + std::to_string(last) +
                                       " (" + std::to_string(i * 50) + " to " +
                                       std::to_string(last * 50 + 49) + " m)";
    line += ":";
    // A packed field's change is also told in the row's terms.
    const std::uint8_t kind = b[i].kind != 0 ? b[i].kind : a[i].kind;
    for (std::size_t c = 0; c < changes.size(); ++c) {
      line += (c == 0 ? " " : "; ") + change_text(changes[c]);
      const std::string from = field_meaning(a[i].kind, changes[c].field, changes[c].from);
      const std::string to = field_meaning(kind, changes[c].field, changes[c].to);
      if (!from.empty() || !to.empty()) {
        line += " (" + (from.empty() ? std::string("nothing") : from) + " \u2192 " +
                (to.empty() ? std::string("nothing") : to) + ")";
      }
    }
    print.line(line);
    i = last + 1;
  }
  for (std::size_t i = common; i < a.size(); ++i) print.line(cell_label(i) + ": only in A");
  for (std::size_t i = common; i < b.size(); ++i) print.line(cell_label(i) + ": only in B");
}

void diff_stations(const std::vector<model::station_entry>& a,
                   const std::vector<model::station_entry>& b, difference_printer& print) {
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
    if (a[i] == b[i]) continue;
    const std::string label = "station " + std::to_string(i);
    const auto fa = assembly::field_values(a[i]);
    const auto fb = assembly::field_values(b[i]);
    // An entry that is a station in either file is named as one: a station
    // added or emptied still shows its numbers under the authors' names.
    const int index = static_cast<int>(i);
    const model::station_role role = station_role_of(index, a[i]) == model::station_role::station
                                         ? model::station_role::station
                                         : station_role_of(index, b[i]);
    // Field by field in file order, the name among the numbers.
    for (std::size_t f = 0; f < fa.size(); ++f) {
      const std::string field = label + " " + station_field_name(role, fa[f].name) + ": ";
      if (fa[f].text != nullptr) {
        if (*fa[f].text != *fb[f].text) {
          print.line(field + quoted_name(*fa[f].text) + " -> " + quoted_name(*fb[f].text));
        }
      } else if (fa[f].number != fb[f].number) {
        // A station's time is a clock: shown as the timetable writes it too.
        const bool clock = fa[f].name == "time" && role == model::station_role::station;
        const auto shown = [&](std::int64_t n) {
          return std::to_string(n) +
                 (clock ? " (" + clock_text(static_cast<std::int32_t>(n)) + ")" : "");
        };
        print.line(field + shown(fa[f].number) + " -> " + shown(fb[f].number));
      }
    }
  }
}

bool same_element(const model::plan_value& a, const model::plan_value& b) {
  // Bit for bit: -0 and 0, and two NaNs of different payloads, are different bytes.
  return a.tag == b.tag &&
         std::bit_cast<std::uint64_t>(a.number) == std::bit_cast<std::uint64_t>(b.number);
}

// Each element that differs, metre by metre.
void diff_plan_elements(const decoded_file& a, const decoded_file& b, std::int32_t common,
                        difference_printer& print) {
  for (std::int32_t m = 0; m <= common; ++m) {
    for (int column = 0; column < 2; ++column) {
      const model::plan_value va = a.plan.at(m, column);
      const model::plan_value vb = b.plan.at(m, column);
      if (same_element(va, vb)) continue;
      const bool same_tag = va.tag == vb.tag;
      print.line("plan metre " + std::to_string(m) + (column == 0 ? " x: " : " y: ") +
                 (same_tag && va.tag != model::plan_tag::empty ? number_text(va.number)
                                                               : plan_value_text(va)) +
                 " -> " +
                 (same_tag && vb.tag != model::plan_tag::empty ? number_text(vb.number)
                                                               : plan_value_text(vb)));
    }
  }
}

std::string metres_text(double metres) {
  char text[64];
  std::snprintf(text, sizeof text, "%.3f m", metres);
  return text;
}

// The metres that differ as one line: the first and the last, how many, and
// the largest distance between a metre's point in A and in B.
void summarise_plan_elements(const decoded_file& a, const decoded_file& b, std::int32_t common,
                             difference_printer& print) {
  std::int32_t first = -1;
  std::int32_t last = -1;
  std::int64_t differing = 0;
  double largest = -1.0;
  std::int32_t largest_at = -1;
  for (std::int32_t m = 0; m <= common; ++m) {
    const model::plan_value xa = a.plan.at(m, 0);
    const model::plan_value ya = a.plan.at(m, 1);
    const model::plan_value xb = b.plan.at(m, 0);
    const model::plan_value yb = b.plan.at(m, 1);
    if (same_element(xa, xb) && same_element(ya, yb)) continue;
    if (first < 0) first = m;
    last = m;
    ++differing;
    const bool points = xa.tag != model::plan_tag::empty && ya.tag != model::plan_tag::empty &&
                        xb.tag != model::plan_tag::empty && yb.tag != model::plan_tag::empty;
    const double shift = points ? std::hypot(xb.number - xa.number, yb.number - ya.number) : -1.0;
    if (std::isfinite(shift) && shift > largest) {
      largest = shift;
      largest_at = m;
    }
  }
  if (first < 0) return;
  std::string line = first == last
                         ? "plan metre " + std::to_string(first) + " differs"
                         : "plan metres " + std::to_string(first) + " to " + std::to_string(last) +
                               " differ (" + std::to_string(differing) + " metres)";
  if (largest_at >= 0) {
    line += first == last ? ": its point moves " + metres_text(largest)
                          : ": the largest shift is " + metres_text(largest) + ", at metre " +
                                std::to_string(largest_at);
  }
  print.line(line + " (--all lists each element)");
}

// The plans metre by metre: summarised in one line unless `every_element`.
void diff_plans(const decoded_file& a, const decoded_file& b, bool every_element,
                difference_printer& print) {
  const std::int32_t common = std::min(a.plan.last_metre(), b.plan.last_metre());
  if (every_element) {
    diff_plan_elements(a, b, common, print);
  } else {
    summarise_plan_elements(a, b, common, print);
  }
  if (a.plan.last_metre() != b.plan.last_metre()) {
    print.line("plan line length: " + std::to_string(a.line_length) + " m -> " +
               std::to_string(b.line_length) + " m (metres " + std::to_string(common + 1) + " to " +
               std::to_string(std::max(a.plan.last_metre(), b.plan.last_metre())) + " only in " +
               (a.plan.last_metre() > b.plan.last_metre() ? "A" : "B") + ")");
  }
}

}  // namespace

subcommand add_diff(CLI::App& app, const streams& io) {
  auto o = std::make_shared<diff_options>();
  CLI::App* command = app.add_subcommand(
      "diff",
      "Compare two compiled files of the same kind record by record. Exit status 0 when they "
      "are identical, 1 when they differ, 2 when they cannot be compared.");
  command->add_option("A", o->a, "The first compiled file")->required();
  command->add_option("B", o->b, "The second compiled file")->required();
  command->add_option("--kind", o->kind, "The files' kind, when their names do not say")
      ->check(CLI::IsMember({"plan", "stations", "cells"}));
  command->add_flag("--all", o->all,
                    "One line for every differing cell, not one for each run of cells that "
                    "changed the same way; for plans, one for every differing element, not one "
                    "line for all");
  return {command, [o, io]() {
            decoded_file a;
            decoded_file b;
            try {
              const file_kind kind_a = kind_of(o->a, kind_from_word(o->kind));
              const file_kind kind_b = kind_of(o->b, kind_from_word(o->kind));
              if (kind_a != kind_b) {
                io.err << "scenario_tool diff: " << o->a << " is a " << describe(kind_a) << ", "
                       << o->b << " a " << describe(kind_b) << ": they cannot be compared\n";
                return status_usage;
              }
              for (auto [path, file] : {std::pair{&o->a, &a}, std::pair{&o->b, &b}}) {
                try {
                  *file = read_compiled_file(*path, kind_a);
                } catch (const platform::file_error& failure) {
                  io.err << "scenario_tool diff: " << failure_words(failure) << '\n';
                  return status_usage;
                } catch (const std::exception& failure) {
                  io.err << "scenario_tool diff: " << *path << ": " << failure_words(failure)
                         << '\n';
                  return status_usage;
                }
              }
            } catch (const std::exception& failure) {
              io.err << "scenario_tool diff: " << failure_words(failure) << '\n';
              return status_usage;
            }
            difference_printer print(io.out);
            switch (a.kind) {
              case file_kind::cells:
                diff_cells(a.cells, b.cells, o->all, print);
                break;
              case file_kind::stations:
                diff_stations(a.stations, b.stations, print);
                break;
              case file_kind::plan:
                diff_plans(a, b, o->all, print);
                break;
            }
            const std::size_t n = print.count();
            io.out << (n == 0 ? std::string("no differences")
                              : std::to_string(n) + (n == 1 ? " difference" : " differences"))
                   << '\n';
            return n == 0 ? status_ok : status_failed;
          }};
}

}  // namespace scenario_tool
