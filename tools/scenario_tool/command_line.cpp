#include "scenario_tool/command_line.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <nlohmann/json.hpp>
#include <ostream>
#include <vector>

#include "scenario_tool/shared/nearest_word.h"

namespace scenario_tool {
namespace {

// A flag takes no value; its help shows no type.
bool is_flag(const CLI::Option* option) {
  return option->get_type_name().empty();
}

bool is_help_or_version(const CLI::Option* option) {
  const std::string name = option->get_name();
  return name == "--help" || name == "--version";
}

// The values an option takes, when a check lists them: "plan|stations|cells".
std::string listed_values(const CLI::Option* option) {
  const std::string type = option->get_type_name();
  const auto open = type.find('{');
  const auto close = type.rfind('}');
  if (open == std::string::npos || close == std::string::npos || close < open) return "";
  std::string values = type.substr(open + 1, close - open - 1);
  for (char& c : values) {
    if (c == ',') c = '|';
  }
  return values;
}

std::string placeholder(const CLI::Option* option) {
  const std::string listed = listed_values(option);
  if (!listed.empty()) return listed;
  const std::string type = option->get_type_name();
  if (type.rfind("INT", 0) == 0 || type.rfind("UINT", 0) == 0) return "N";
  std::string name = option->get_name();
  name.erase(0, name.find_first_not_of('-'));
  for (char& c : name) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  return name;
}

// The deepest subcommand that the parse reached, or null.
const CLI::App* parsed_command(const CLI::App& app) {
  for (const CLI::App* sub : app.get_subcommands([](const CLI::App*) { return true; })) {
    if (sub->parsed()) return sub;
  }
  return nullptr;
}

std::vector<std::string> subcommand_names(const CLI::App& app) {
  std::vector<std::string> names;
  for (const CLI::App* sub : app.get_subcommands([](const CLI::App*) { return true; })) {
    names.push_back(sub->get_name());
  }
  return names;
}

std::string joined(const std::vector<std::string>& words) {
  std::string out;
  for (std::size_t i = 0; i < words.size(); ++i) {
    out += (i == 0 ? "" : i + 1 == words.size() ? " and " : ", ") + words[i];
  }
  return out;
}

std::string unknown_option(const CLI::App& where, const std::string& word) {
  std::vector<std::string> names;
  for (const CLI::Option* option : where.get_options()) {
    if (!option->nonpositional()) continue;
    for (const std::string& name : option->get_lnames()) names.push_back("--" + name);
    for (const std::string& name : option->get_snames()) names.push_back("-" + name);
  }
  std::string line = "unknown option '" + word + "'";
  const std::string near = nearest_word(word.substr(0, word.find('=')), names);
  if (!near.empty()) line += "; did you mean '" + near + "'?";
  return line;
}

}  // namespace

std::string usage_line(const CLI::App& command) {
  std::vector<std::string> words;
  for (const CLI::App* up = &command; up != nullptr; up = up->get_parent()) {
    words.insert(words.begin(), up->get_name());
  }
  std::string line;
  for (const std::string& word : words) line += (line.empty() ? "" : " ") + word;
  if (command.get_parent() == nullptr)
    return line + " SUBCOMMAND ... (" + joined(subcommand_names(command)) + ")";
  for (const CLI::Option* option : command.get_options()) {
    if (option->nonpositional()) continue;
    std::string name = option->get_name();
    if (option->get_items_expected_max() > 1) name += " ...";
    line += " " + (option->get_required() ? name : "[" + name + "]");
  }
  for (const CLI::Option* option : command.get_options()) {
    if (!option->nonpositional() || is_help_or_version(option)) continue;
    std::string item = option->get_name();
    if (!is_flag(option)) item += " " + placeholder(option);
    line += " " + (option->get_required() ? item : "[" + item + "]");
  }
  return line;
}

std::string command_line_failure(const CLI::App& app, const CLI::ParseError& error,
                                 const std::string& last_word) {
  const CLI::App* command = parsed_command(app);
  const CLI::App& where = command != nullptr ? *command : app;
  const std::string who =
      command != nullptr ? "scenario_tool " + command->get_name() : std::string("scenario_tool");
  const std::string usage = "; usage: " + usage_line(where);

  std::vector<std::string> extras = where.remaining();
  if (extras.empty()) extras = app.remaining(true);
  const std::string word = extras.empty() ? std::string() : extras.front();
  // With no subcommand recognised, the first word is the subcommand meant.
  const bool stray = command == nullptr && !word.empty();
  if (dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr || stray) {
    if (!word.empty() && word[0] == '-') return who + ": " + unknown_option(where, word);
    if (command == nullptr) {
      std::string line = "scenario_tool: unknown subcommand '" + word + "'";
      const std::string near = nearest_word(word, subcommand_names(app));
      if (!near.empty()) line += "; did you mean '" + near + "'?";
      return line + " (the subcommands are " + joined(subcommand_names(app)) + ")";
    }
    return who + ": one argument too many ('" + word + "')" + usage;
  }
  if (dynamic_cast<const CLI::RequiredError*>(&error) != nullptr) {
    if (command == nullptr) {
      return "scenario_tool: no subcommand given" + usage + "; scenario_tool --help says more";
    }
    for (const CLI::Option* option : where.get_options()) {
      if (option->get_required() && option->count() == 0) {
        return who + ": " + option->get_name() + " is missing" + usage;
      }
    }
    return who + ": something it needs is missing" + usage;
  }
  if (dynamic_cast<const CLI::ConversionError*>(&error) != nullptr ||
      dynamic_cast<const CLI::ValidationError*>(&error) != nullptr) {
    // The option whose value could not be taken: the last one given that has
    // a value, and whose value does not read as its kind wants.
    for (const CLI::Option* option : where.get_options()) {
      if (option->count() == 0 || is_flag(option)) continue;
      const std::string value = option->results().empty() ? "" : option->results().back();
      const std::string listed = listed_values(option);
      const std::string type = option->get_type_name();
      const bool number = type.rfind("INT", 0) == 0 || type.rfind("UINT", 0) == 0;
      if (!listed.empty() && ("|" + listed + "|").find("|" + value + "|") == std::string::npos) {
        return who + ": " + option->get_name() + " takes " + listed + ", not '" + value + "'";
      }
      if (number) {
        std::size_t i = (!value.empty() && (value[0] == '-' || value[0] == '+')) ? 1 : 0;
        bool digits = i < value.size();
        for (; i < value.size(); ++i) digits = digits && value[i] >= '0' && value[i] <= '9';
        if (!digits) {
          return who + ": " + option->get_name() + " takes a whole number, not '" + value + "'";
        }
      }
    }
    return who + ": a value could not be taken" + usage;
  }
  if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr) {
    for (const CLI::Option* option : where.get_options()) {
      if (is_flag(option)) continue;
      const std::size_t given = option->results().size();
      const auto most = static_cast<std::size_t>(std::max(option->get_items_expected_max(), 0));
      const auto least = static_cast<std::size_t>(std::max(option->get_items_expected_min(), 0));
      if (given > most) {
        return who + ": " + option->get_name() + " takes at most " + std::to_string(most) +
               (most == 1 ? " value" : " values") + ", not " + std::to_string(given) + usage;
      }
      if (option->count() > 0 && given < least) {
        return who + ": " + option->get_name() + " needs a value" + usage;
      }
    }
    // An option that ends the command line has no value after it.
    for (const CLI::Option* option : where.get_options()) {
      if (is_flag(option) || !option->nonpositional()) continue;
      for (const std::string& name : option->get_lnames()) {
        if (last_word == "--" + name) return who + ": " + last_word + " needs a value" + usage;
      }
    }
    return who + ": an option is missing its value, or has too many" + usage;
  }
  return who + ": the command line could not be understood" + usage;
}

int report_usage_failure(const streams& io, const std::string& line) {
  io.err << line << '\n';
  if (io.json) {
    const nlohmann::json doc = {
        {"version", json_version}, {"error", {{"message", line}}}, {"status", status_usage}};
    io.out << doc.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
  }
  return status_usage;
}

}  // namespace scenario_tool
