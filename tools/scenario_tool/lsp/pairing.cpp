#include "scenario_tool/lsp/pairing.h"

#include <algorithm>
#include <optional>
#include <set>
#include <system_error>

#include "reader/keyword.h"
#include "scenario_tool/lsp/folder_names.h"
#include "scenario_tool/shared/scenario_manifest.h"

namespace scenario_tool::lsp {
namespace {

constexpr std::string_view line_suffix = "_linea.txt";
constexpr std::string_view train_suffix = "-.txt";

bool ends_with(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

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
  const std::string name = name_of(path);
  if (ends_with(name, line_suffix)) return text_role::line;
  if (ends_with(name, train_suffix)) return text_role::train;
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

  if (role == text_role::line && ends_with(name, line_suffix) && name.size() > line_suffix.size()) {
    pair.route_id = name.substr(0, name.size() - line_suffix.size());
    const std::string prefix = pair.route_id + "_";
    std::vector<std::string> trains;
    for (const std::string& other : names_in(folder, open, kept)) {
      if (other.rfind(prefix, 0) == 0 && ends_with(other, train_suffix) &&
          other.size() > prefix.size() + train_suffix.size()) {
        trains.push_back(other);
      }
    }
    if (trains.empty()) {
      pair.note = name + ": no train text " + prefix +
                  "<train>-.txt beside it; the line text is "
                  "checked alone (no train runs on it)";
      return pair;
    }
    pair.line = path;
    pair.train = folder / trains.front();
    pair.train_number = trains.front().substr(
        prefix.size(), trains.front().size() - prefix.size() - train_suffix.size());
    if (trains.size() > 1) {
      pair.note = name + ": " + std::to_string(trains.size()) +
                  " train texts beside it; checked "
                  "with " +
                  trains.front();
    }
    return pair;
  }

  if (role == text_role::train && ends_with(name, train_suffix)) {
    // The longest route whose line text is beside it and whose name begins this one's.
    std::string best;
    for (const std::string& other : names_in(folder, open, kept)) {
      if (!ends_with(other, line_suffix) || other.size() == line_suffix.size()) continue;
      const std::string route = other.substr(0, other.size() - line_suffix.size());
      if (name.rfind(route + "_", 0) == 0 && name.size() > route.size() + 1 + train_suffix.size() &&
          route.size() > best.size()) {
        best = route;
      }
    }
    if (!best.empty()) {
      pair.route_id = best;
      pair.train_number =
          name.substr(best.size() + 1, name.size() - best.size() - 1 - train_suffix.size());
      pair.line = folder / (best + std::string(line_suffix));
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
