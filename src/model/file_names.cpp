#include "model/file_names.h"

#include "model/scenario_model.h"

namespace model {

namespace {

// What follows the route ("_linea.txt") or the route, "_" and the train
// number ("-.txt") in each file's name.
std::string_view ending_of(scenario_file file) {
  switch (file) {
    case scenario_file::line_text:
      return "_linea.txt";
    case scenario_file::train_text:
      return "-.txt";
    case scenario_file::notes:
      return "_note.txt";
    case scenario_file::slowdown_order:
      return "_rallentamenti.txt";
    case scenario_file::train_card:
      return "_scheda_treno.txt";
    case scenario_file::plan:
      return "_linea.dat";
    case scenario_file::stations:
      return ".sim";
    case scenario_file::cells:
      return ".dat";
  }
  return {};
}

}  // namespace

bool names_the_train(scenario_file file) {
  return file != scenario_file::line_text && file != scenario_file::plan;
}

std::string file_name(const scenario_identity& identity, scenario_file file) {
  std::string name = identity.route_id;
  if (names_the_train(file)) {
    name += '_';
    name += identity.train_number;
  }
  name += ending_of(file);
  return name;
}

std::string file_name(const scenario_model& model, scenario_file file) {
  return file_name(scenario_identity{model.route_id, model.train_number}, file);
}

std::string temporary_suffix(std::string_view digits) {
  std::string suffix = ".";
  suffix += digits;
  suffix += temporary_ending;
  return suffix;
}

std::optional<scenario_file> file_of_name(std::string_view own_name) {
  // The plan's ending ends as the cells' does and the line text's as the
  // train text's: the longer ending is tried first.
  static constexpr std::array<scenario_file, 8> longest_first = {
      scenario_file::slowdown_order, scenario_file::train_card, scenario_file::line_text,
      scenario_file::plan,           scenario_file::notes,      scenario_file::train_text,
      scenario_file::stations,       scenario_file::cells};
  for (const scenario_file file : longest_first) {
    const std::string_view ending = ending_of(file);
    if (own_name.size() > ending.size() && own_name.ends_with(ending)) return file;
  }
  return std::nullopt;
}

std::optional<named_file> read_file_name(std::string_view own_name, std::string_view route_id) {
  const std::optional<scenario_file> file = file_of_name(own_name);
  if (!file || route_id.empty() || !own_name.starts_with(route_id)) return std::nullopt;
  const std::string_view ending = ending_of(*file);
  std::string_view rest = own_name.substr(route_id.size());
  rest.remove_suffix(ending.size());
  if (!names_the_train(*file)) {
    if (!rest.empty()) return std::nullopt;
    return named_file{*file, std::string(route_id), {}};
  }
  if (rest.size() < 2 || rest.front() != '_') return std::nullopt;
  return named_file{*file, std::string(route_id), std::string(rest.substr(1))};
}

std::optional<named_file> read_file_name(std::string_view own_name) {
  const std::optional<scenario_file> file = file_of_name(own_name);
  if (!file) return std::nullopt;
  const std::string_view stem = own_name.substr(0, own_name.size() - ending_of(*file).size());
  if (!names_the_train(*file)) return named_file{*file, std::string(stem), {}};
  const std::size_t cut = stem.rfind('_');
  if (cut == std::string_view::npos || cut == 0 || cut + 1 == stem.size()) return std::nullopt;
  return named_file{*file, std::string(stem.substr(0, cut)), std::string(stem.substr(cut + 1))};
}

}  // namespace model
