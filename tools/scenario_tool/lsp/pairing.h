// Which line text and which train text make one scenario. A text that the
// manifest of its folder (scenario.toml) names pairs with the other text it
// names, under its route, train and plan flag; else texts in one folder pair
// by their names: <route>_linea.txt with <route>_<train>-.txt. A text with no
// partner is checked alone.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace scenario_tool::lsp {

class folder_names;

enum class text_role { line, train };

struct scenario_pair {
  std::filesystem::path line;   // empty when the text is checked alone
  std::filesystem::path train;  // empty when the text is checked alone
  std::string route_id;
  std::string train_number;
  bool plan = true;  // whether the track plan is built (a manifest may say no)
  // Why the text is checked alone, or how its partner was chosen among
  // several; empty for a plain pair.
  std::string note;
};

// The role a text's name gives, else the one its bytes suggest (a line text's
// header gives the line length).
text_role role_of(const std::filesystem::path& path, std::string_view bytes);

// The pair the texts' names make, with no manifest.
// `kept`: the folders' names as last listed; none lists the folder now.
scenario_pair pair_by_names(const std::filesystem::path& path, std::string_view bytes,
                            const std::vector<std::filesystem::path>& open,
                            folder_names* kept = nullptr);

// The scenario of the text at `path`: its partner on disk or among `open`
// (the paths of texts open in the editor, which may not be saved yet).
scenario_pair pair_text(const std::filesystem::path& path, std::string_view bytes,
                        const std::vector<std::filesystem::path>& open,
                        folder_names* kept = nullptr);

}  // namespace scenario_tool::lsp
