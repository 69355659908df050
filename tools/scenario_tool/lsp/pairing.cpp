#include "scenario_tool/lsp/pairing.h"

#include <algorithm>
#include <optional>
#include <set>
#include <system_error>

#include "model/file_names.h"
#include "reader/keyword.h"
#include "scenario_tool/lsp/folder_names.h"
#include "scenario_tool/shared/scenario_manifest.h"

namespace scenario_tool::lsp {
namespace {

using model::scenario_file;

std::string name_of(const std::filesystem::path& path) {
  return path.filename().string();
}

// The names of the files in `folder` (kept in `kept` when given), with those
// of the open texts there.
std::set<std::string> names_in(const std::filesystem::path& folder,
                               const std::vector<std::filesystem::path>& open, folder_names* kept) {
  std::set<std::string> names = kept != nullptr ? kept->in(folder) : list_names(folder);
  for (const std::filesystem::path& path : open) {
    if (path.parent_path() == folder) names.insert(name_of(path));
  }
  return names;
}

// Both paths name one file (the manifest's names are relative to its folder).
bool same_file(const std::filesystem::path& a, const std::filesystem::path& b) {
  return a.lexically_normal() == b.lexically_normal();
}

// The pair the folder's manifest makes of the text at `path`, when the
// manifest names it; a manifest that cannot be read is said, and the names
// then decide.
std::optional<scenario_pair> pair_by_manifest(const std::filesystem::path& path,
                                              std::string& note) {
  const std::filesystem::path folder = path.parent_path();
  std::error_code failed;
  if (!std::filesystem::is_regular_file(folder / manifest_name, failed)) return std::nullopt;
  try {
    const scenario_manifest m = read_manifest(folder);
    const std::filesystem::path line = folder / m.line_text;
    const std::filesystem::path train = folder / m.train_text;
    if (!same_file(path, line) && !same_file(path, train)) {
      note = name_of(path) + ": " + manifest_name +
             " beside it names other texts; paired by its name instead";
      return std::nullopt;
    }
    scenario_pair pair;
    pair.line = same_file(path, line) ? path : line;
    pair.train = same_file(path, train) ? path : train;
    pair.route_id = m.identity.route_id;
    pair.train_number = m.identity.train_number;
    pair.plan = m.plan;
    return pair;
  } catch (const std::exception& failure) {
    note = std::string(failure.what()) + "; the texts are paired by their names instead";
    return std::nullopt;
  }
}

}  // namespace

text_role role_of(const std::filesystem::path& path, std::string_view bytes) {
  const std::optional<scenario_file> file = model::file_of_name(name_of(path));
  if (file == scenario_file::line_text) return text_role::line;
  if (file == scenario_file::train_text) return text_role::train;
  return reader::contains_nocase(bytes, "lunghezza") && reader::contains_nocase(bytes, "percorso")
             ? text_role::line
             : text_role::train;
}

scenario_pair pair_text(const std::filesystem::path& path, std::string_view bytes,
                        const std::vector<std::filesystem::path>& open, folder_names* kept) {
  std::string manifest_note;
  if (std::optional<scenario_pair> by_manifest = pair_by_manifest(path, manifest_note)) {
    return *by_manifest;
  }
  scenario_pair pair = pair_by_names(path, bytes, open, kept);
  if (!manifest_note.empty()) {
    pair.note = pair.note.empty() ? manifest_note : manifest_note + "; " + pair.note;
  }
  return pair;
}

scenario_pair pair_by_names(const std::filesystem::path& path, std::string_view bytes,
                            const std::vector<std::filesystem::path>& open, folder_names* kept) {
  scenario_pair pair;
  const std::string name = name_of(path);
  const std::filesystem::path folder = path.parent_path();
  const text_role role = role_of(path, bytes);

  const std::optional<scenario_file> file = model::file_of_name(name);
  if (role == text_role::line && file == scenario_file::line_text) {
    // A line text's name always reads back: the route is all before its ending.
    pair.route_id = model::read_file_name(name).value().route_id;
    const std::string prefix = pair.route_id + "_";
    std::vector<model::named_file> trains;
    for (const std::string& other : names_in(folder, open, kept)) {
      const auto train = model::read_file_name(other, pair.route_id);
      if (train && train->file == scenario_file::train_text) trains.push_back(*train);
    }
    if (trains.empty()) {
      pair.note = name + ": no train text " + prefix +
                  "<train>-.txt beside it; the line text is "
                  "checked alone (no train runs on it)";
      return pair;
    }
    const std::string first =
        model::file_name(model::scenario_identity{pair.route_id, trains.front().train_number},
                         scenario_file::train_text);
    pair.line = path;
    pair.train = folder / first;
    pair.train_number = trains.front().train_number;
    if (trains.size() > 1) {
      pair.note = name + ": " + std::to_string(trains.size()) +
                  " train texts beside it; checked "
                  "with " +
                  first;
    }
    return pair;
  }

  if (role == text_role::train && file == scenario_file::train_text) {
    // The longest route whose line text is beside it and whose name begins this one's.
    std::string best;
    std::string best_train;
    for (const std::string& other : names_in(folder, open, kept)) {
      const auto line = model::read_file_name(other);
      if (!line || line->file != scenario_file::line_text) continue;
      const auto train = model::read_file_name(name, line->route_id);
      if (train && train->file == scenario_file::train_text &&
          line->route_id.size() > best.size()) {
        best = line->route_id;
        best_train = train->train_number;
      }
    }
    if (!best.empty()) {
      pair.route_id = best;
      pair.train_number = best_train;
      pair.line =
          folder / model::file_name(model::scenario_identity{best, {}}, scenario_file::line_text);
      pair.train = path;
      return pair;
    }
    pair.note = name +
                ": no line text <route>_linea.txt beside it; the train text is checked "
                "alone, on a line of 1000000 m";
    return pair;
  }

  pair.note = name + ": the name is neither <route>_linea.txt nor <route>_<train>-.txt; the " +
              (role == text_role::line ? "line" : "train") + " text is checked alone";
  return pair;
}

}  // namespace scenario_tool::lsp
