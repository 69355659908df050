#include "scenario_tool/shared/scenario_manifest.h"

#include <toml++/toml.h>

#include <set>
#include <sstream>

#include "model/file_names.h"
#include "model/identity_check.h"
#include "model/windows_1252.h"
#include "platform/replace_file.h"
#include "reader/description_texts.h"
#include "scenario_tool/shared/manifest_paths.h"
#include "scenario_tool/shared/nearest_word.h"

namespace scenario_tool {

namespace {

std::string place(const std::filesystem::path& file, const toml::source_region& where) {
  std::string text = file.string();
  if (where.begin.line != 0) {
    text.append(1, ':').append(std::to_string(where.begin.line));
    text.append(1, ':').append(std::to_string(where.begin.column));
  }
  return text;
}

class manifest_reader {
 public:
  manifest_reader(std::filesystem::path file, const toml::table& root)
      : file_(std::move(file)), root_(root) {}

  [[noreturn]] void fail(const toml::source_region& where, const std::string& what) const {
    throw manifest_error(place(file_, where) + ": " + what);
  }

  // Every key of `table` must be one of `known`: a misspelt key would
  // otherwise leave a document out without a word.
  void only_keys(const toml::table& table, const std::set<std::string>& known,
                 const std::string& in) const {
    for (const auto& [key, node] : table) {
      if (!known.contains(std::string(key.str()))) {
        const std::string near =
            nearest_word(key.str(), std::vector<std::string>(known.begin(), known.end()));
        fail(key.source(), "unknown key \"" + std::string(key.str()) + "\"" + in +
                               (near.empty() ? "" : "; did you mean \"" + near + "\"?"));
      }
    }
  }

  const toml::table& table(const char* name, bool required) const {
    static const toml::table empty;
    const toml::node* node = root_.get(name);
    if (node == nullptr) {
      if (required) fail(root_.source(), std::string("the table [") + name + "] is missing");
      return empty;
    }
    if (!node->is_table()) fail(node->source(), std::string(name) + " must be a table");
    return *node->as_table();
  }

  std::optional<std::string> string(const toml::table& table, const char* key, bool required,
                                    const std::string& what) const {
    const toml::node* node = table.get(key);
    if (node == nullptr) {
      if (required) fail(table.source(), what + " is missing (" + key + " = \"...\")");
      return std::nullopt;
    }
    if (!node->is_string()) fail(node->source(), what + " must be a string");
    const std::string value = node->as_string()->get();
    if (value.empty()) fail(node->source(), what + " is empty");
    return value;
  }

  std::string identity_part(const char* key, const std::string& what) const {
    const std::string utf8 = *string(root_, key, true, what);
    const auto text = model::windows_1252_from_utf8(utf8);
    if (!text) {
      fail(root_.get(key)->source(),
           what + " \"" + utf8 + "\" holds a character that Windows-1252 file names cannot carry");
    }
    return *text;
  }

  const toml::table& root() const { return root_; }

 private:
  std::filesystem::path file_;
  const toml::table& root_;
};

// A TOML basic string: quotes, backslashes and control characters escaped.
std::string quoted(const std::string& utf8) {
  std::string out = "\"";
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20 || byte == 0x7F) {
      static constexpr char digits[] = "0123456789ABCDEF";
      out += "\\u00";
      out += digits[byte >> 4];
      out += digits[byte & 0xF];
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string path_text(const std::filesystem::path& path) {
  const std::u8string utf8 = path.generic_u8string();
  return quoted(std::string(utf8.begin(), utf8.end()));
}

std::filesystem::path path_of(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace

bool is_scenario_folder(const std::filesystem::path& folder) {
  std::error_code ec;
  return std::filesystem::is_regular_file(folder / manifest_name, ec);
}

namespace {
// A manifest is a few lines; one far larger is not one.
constexpr const char* plan_words = "plan must be true or false: write plan = true or plan = false";

// Whether line `number` (from 1) of a manifest sets `key`: `key =` after blanks.
bool line_sets_key(std::string_view text, std::size_t number, std::string_view key) {
  for (std::size_t n = 1; n < number && !text.empty(); ++n) {
    const auto end = text.find('\n');
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  }
  text = text.substr(0, text.find('\n'));
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos || text.substr(first, key.size()) != key) return false;
  const auto after = text.find_first_not_of(" \t", first + key.size());
  return after != std::string_view::npos && text[after] == '=';
}

constexpr platform::read_bound manifest_bound{1 << 20, "a scenario manifest"};
}  // namespace

scenario_manifest read_manifest(const std::filesystem::path& folder) {
  const std::filesystem::path file = folder / manifest_name;
  std::string text;
  try {
    text = platform::read_file(file, manifest_bound);
  } catch (const std::exception& failure) {
    throw manifest_error(failure.what());
  }
  toml::table root;
  try {
    root = toml::parse(text, file.string());
  } catch (const toml::parse_error& failure) {
    // `plan = yes` is no TOML value at all: say what to write, not how the
    // parser failed.
    if (line_sets_key(text, failure.source().begin.line, "plan")) {
      throw manifest_error(place(file, failure.source()) + ": " + plan_words);
    }
    throw manifest_error(place(file, failure.source()) + ": " + std::string(failure.description()));
  }
  const manifest_reader reader(file, root);
  reader.only_keys(root, {"route", "train", "plan", "texts", "documents"}, "");

  scenario_manifest manifest;
  manifest.identity.route_id = reader.identity_part("route", "the route identifier");
  manifest.identity.train_number = reader.identity_part("train", "the train number");
  if (const auto fault = model::identity_fault(manifest.identity)) {
    reader.fail(root.get("route")->source(), *fault);
  }
  if (const toml::node* plan = root.get("plan")) {
    if (!plan->is_boolean()) {
      // TOML writes a truth value bare: `yes`, `"true"` or 1 are not one.
      reader.fail(plan->source(), plan_words);
    }
    manifest.plan = plan->as_boolean()->get();
  }

  // Each file the manifest names, inside the folder.
  const auto named = [&](const toml::table& table, const char* key, bool required,
                         const std::string& what) -> std::optional<std::filesystem::path> {
    const auto name = reader.string(table, key, required, what);
    if (!name) return std::nullopt;
    std::filesystem::path path = path_of(*name);
    if (const auto why = outside_folder(folder, path)) {
      reader.fail(table.get(key)->source(), what + " \"" + *name + "\" " + *why);
    }
    return path;
  };
  const toml::table& texts = reader.table("texts", true);
  reader.only_keys(texts, {"line", "train"}, " in [texts]");
  manifest.line_text = *named(texts, "line", true, "the line text");
  manifest.train_text = *named(texts, "train", true, "the train text");

  const toml::table& documents = reader.table("documents", false);
  reader.only_keys(documents, {"notes", "slowdown_order", "train_card"}, " in [documents]");
  const auto document = [&](const char* key, const char* what) {
    return named(documents, key, false, what);
  };
  manifest.notes = document("notes", "the notes");
  manifest.slowdown_order = document("slowdown_order", "the slowdown order");
  manifest.train_card = document("train_card", "the train card");
  return manifest;
}

std::string render_manifest(const scenario_manifest& manifest) {
  std::ostringstream out;
  out << "# A scenario for scenario_tool: compile, draw and package read this folder.\n"
         "# File names are relative to this folder.\n\n"
         "# The scenario's identity: every file the installer writes begins with\n"
         "# <route>, and the train's files with <route>_<train>.\n"
      << "route = " << quoted(model::utf8_from_windows_1252(manifest.identity.route_id)) << '\n'
      << "train = " << quoted(model::utf8_from_windows_1252(manifest.identity.train_number)) << '\n'
      << "# Build and write the track plan (<route>_linea.dat).\n"
      << "plan = " << (manifest.plan ? "true" : "false") << "\n\n"
      << "# The two description texts, compiled by the installer on the driver's machine.\n"
         "[texts]\n"
      << "line = " << path_text(manifest.line_text) << '\n'
      << "train = " << path_text(manifest.train_text) << "\n\n"
      << "# The documents for the driver; leave an entry out and the installer writes\n"
         "# no such document.\n"
         "[documents]\n";
  const auto document = [&](const char* key, const std::optional<std::filesystem::path>& name,
                            const std::filesystem::path& example) {
    if (name) {
      out << key << " = " << path_text(*name) << '\n';
    } else {
      out << "# " << key << " = " << path_text(example) << '\n';
    }
  };
  const scenario_manifest names = manifest_with_installer_names(manifest.identity);
  document("notes", manifest.notes, *names.notes);
  document("slowdown_order", manifest.slowdown_order, *names.slowdown_order);
  document("train_card", manifest.train_card, *names.train_card);
  return out.str();
}

scenario_manifest manifest_with_installer_names(const model::scenario_identity& identity) {
  const auto name = [&](model::scenario_file file) {
    return path_of(model::utf8_from_windows_1252(model::file_name(identity, file)));
  };
  scenario_manifest manifest;
  manifest.identity = identity;
  manifest.line_text = name(model::scenario_file::line_text);
  manifest.train_text = name(model::scenario_file::train_text);
  manifest.notes = name(model::scenario_file::notes);
  manifest.slowdown_order = name(model::scenario_file::slowdown_order);
  manifest.train_card = name(model::scenario_file::train_card);
  return manifest;
}

scenari::carried_scenario load_scenario(const std::filesystem::path& folder,
                                        const scenario_manifest& manifest) {
  const auto read = [&](const std::filesystem::path& name) {
    // Texts and documents alike: no file far larger than any scenario needs.
    return platform::read_file(folder / name, reader::text_bound);
  };
  const auto read_document = [&](const std::optional<std::filesystem::path>& name) {
    return name ? std::optional(read(*name)) : std::nullopt;
  };
  scenari::carried_scenario scenario;
  scenario.identity = manifest.identity;
  scenario.plan = manifest.plan;
  scenario.line_text = read(manifest.line_text);
  scenario.train_text = read(manifest.train_text);
  scenario.notes = read_document(manifest.notes);
  scenario.slowdown_order = read_document(manifest.slowdown_order);
  scenario.train_card = read_document(manifest.train_card);
  return scenario;
}

}  // namespace scenario_tool
