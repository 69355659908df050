// The names of a scenario's files, built from its route identifier and train
// number and read back from a file's name: the only place that knows them.
//
//   <route>_linea.txt             line description text (read, then deleted)
//   <route>_<train>-.txt          train description text (read, then deleted)
//   <route>_<train>_note.txt      notes for the driver
//   <route>_<train>_rallentamenti.txt  slowdown order
//   <route>_<train>_scheda_treno.txt   train card
//   <route>_linea.dat             track plan
//   <route>_<train>.sim           station table
//   <route>_<train>.dat           track cells
//
// A file is written as a temporary beside it first: its own name followed by
// ".", 16 hex digits and ".tmp".
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "model/scenario_identity.h"

namespace model {

struct scenario_model;

enum class scenario_file {
  line_text,
  train_text,
  notes,
  slowdown_order,
  train_card,
  plan,
  stations,
  cells
};

inline constexpr std::array<scenario_file, 8> every_scenario_file = {
    scenario_file::line_text,      scenario_file::train_text, scenario_file::notes,
    scenario_file::slowdown_order, scenario_file::train_card, scenario_file::plan,
    scenario_file::stations,       scenario_file::cells};

// Whether the file's name holds the train number, or the route alone (the
// line text and the track plan belong to every train of the route).
bool names_the_train(scenario_file file);

// The file's own name (Windows-1252, as the identity), before any folder.
std::string file_name(const scenario_identity& identity, scenario_file file);
std::string file_name(const scenario_model& model, scenario_file file);

// The suffix of a temporary: "." followed by `digits` (16 hex digits) and ".tmp".
inline constexpr std::size_t temporary_digit_count = 16;
inline constexpr std::string_view temporary_ending = ".tmp";
inline constexpr std::size_t temporary_suffix_size =
    1 + temporary_digit_count + temporary_ending.size();
std::string temporary_suffix(std::string_view digits);

// The file an own name's ending makes it: "_linea.txt" a line text, "-.txt" a
// train text, "_linea.dat" the plan, ".sim" the station table, any other
// ".dat" the cells, and the three documents by theirs. None for another name
// or a name that is nothing but the ending.
std::optional<scenario_file> file_of_name(std::string_view own_name);

// What an own name says of its scenario: the file, the route and, for a file
// that names it, the train number.
struct named_file {
  scenario_file file = scenario_file::cells;
  std::string route_id;
  std::string train_number;  // empty for the line text and the plan
};

// Reads a name back when the route is known (from its line text, say): the
// name must be the route's own file of its kind, with a train number that is
// not empty where the kind has one.
std::optional<named_file> read_file_name(std::string_view own_name, std::string_view route_id);

// Reads a name back with no route known: a route's own file ("R_linea.txt",
// "R_linea.dat") gives its route; a train's file is cut at the last "_" before
// its ending, so that a route may hold "_" and a train number may not.
std::optional<named_file> read_file_name(std::string_view own_name);

}  // namespace model
