// An author's scenario is a folder with a manifest, scenario.toml, that names
// the scenario's identity, its two description texts, the driver documents it
// carries (each may be absent) and whether the track plan is built:
//
//   route = "Brisena_Tarvo"
//   train = "47306"
//   plan = true
//
//   [texts]
//   line = "Brisena_Tarvo_linea.txt"
//   train = "Brisena_Tarvo_47306-.txt"
//
//   [documents]
//   notes = "Brisena_Tarvo_47306_note.txt"
//   slowdown_order = "Brisena_Tarvo_47306_rallentamenti.txt"
//   train_card = "Brisena_Tarvo_47306_scheda_treno.txt"
//
// File names are relative to the folder. Every command that takes a scenario
// folder reads it here.
#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

#include "model/scenario_identity.h"
#include "scenari/carried_scenario.h"

namespace scenario_tool {

inline constexpr const char* manifest_name = "scenario.toml";

struct scenario_manifest {
  model::scenario_identity identity;  // Windows-1252, checked as file-name parts
  bool plan = true;
  std::filesystem::path line_text;  // relative to the folder
  std::filesystem::path train_text;
  std::optional<std::filesystem::path> notes;
  std::optional<std::filesystem::path> slowdown_order;
  std::optional<std::filesystem::path> train_card;
};

// A manifest that cannot be read as a scenario's: what() is one line,
// "FOLDER/scenario.toml:LINE:COLUMN: what is wrong" where a place is known.
class manifest_error : public std::runtime_error {
 public:
  explicit manifest_error(const std::string& what) : std::runtime_error(what) {}
};

// The manifest of the scenario folder `folder`. Throws manifest_error.
scenario_manifest read_manifest(const std::filesystem::path& folder);

// The manifest's text, with a comment on each entry.
std::string render_manifest(const scenario_manifest& manifest);

// The names the installer gives the files, as the manifest's defaults:
// <route>_linea.txt, <route>_<train>-.txt, and the three documents.
scenario_manifest manifest_with_installer_names(const model::scenario_identity& identity);

// True when `folder` holds a manifest.
bool is_scenario_folder(const std::filesystem::path& folder);

// The scenario the folder's files make, as an installer carries it. Throws
// platform::file_error when a file cannot be read.
scenari::carried_scenario load_scenario(const std::filesystem::path& folder,
                                        const scenario_manifest& manifest);

}  // namespace scenario_tool
