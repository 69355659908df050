#include "scenario_tool/lsp/completion.h"

#include <algorithm>
#include <string>

#include "reader/keyword.h"
#include "scenario_tool/compile/warnings.h"

namespace scenario_tool::lsp {
namespace {

using json = nlohmann::json;

constexpr int kind_keyword = 14;
constexpr int format_plain = 1;
constexpr int format_snippet = 2;

std::string escaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '$' || c == '}' || c == '\\') out.push_back('\\');
    out.push_back(c);
  }
  return out;
}

}  // namespace

bool in_line_header(const text_document& document, text_point at) {
  bool general = false;
  for (std::size_t l = 0; l < at.line && l < document.line_count(); ++l) {
    const std::string_view line = document.line(l);
    if (!general) {
      general = reader::contains(line, "[generale]");
      continue;
    }
    if (reader::ends_header(line)) return false;
  }
  return true;
}

std::vector<std::string> completion_triggers() {
  std::vector<std::string> triggers;
  for (const keyword_rule& rule : keyword_rules()) {
    const char first = rule.name.front();
    if (first < 'a' || first > 'z') continue;
    for (const char c : {first, static_cast<char>(first - 'a' + 'A')}) {
      if (std::find(triggers.begin(), triggers.end(), std::string(1, c)) == triggers.end()) {
        triggers.emplace_back(1, c);
      }
    }
  }
  return triggers;
}

json complete_keywords(const text_document& document, model::description_text which, text_point at,
                       bool snippets) {
  json items = json::array();
  const std::string_view line = document.line(at.line);
  const std::string_view before = line.substr(0, std::min(at.character, line.size()));
  // Only where the keyword stands: nothing but blanks and letters before it on its line.
  if (before.find(',') != std::string_view::npos) return items;
  const std::size_t start = before.find_first_not_of(" \t");
  const std::size_t from = start == std::string_view::npos ? before.size() : start;
  const bool header = which == model::description_text::line && in_line_header(document, at);

  const json edit_range = {{"start", {{"line", at.line}, {"character", from}}},
                           {"end", {{"line", at.line}, {"character", before.size()}}}};
  for (const keyword_rule& rule : keyword_rules()) {
    if (rule.which != which || rule.header != header) continue;
    std::string names;
    std::string snippet =
        rule.name == "curva" ? "curva${1|d,s|}${2|1,2,3,4,5,6|}" : escaped(rule.name);
    int tab = rule.name == "curva" ? 3 : 1;
    for (std::size_t v = 0; v < rule.values; ++v) {
      const std::string name(rule.entry->values[v].name);
      const std::string unit(rule.entry->values[v].unit);
      names += v ? ", " : "";
      names += name;
      if (!unit.empty()) names += " (" + unit + ")";
      snippet += ", ${" + std::to_string(tab++) + ":" + escaped(name) + "}";
    }
    snippet += "$0";
    const std::string label(rule.name);
    json item = {{"label", label},
                 {"kind", kind_keyword},
                 {"detail", std::to_string(rule.values) +
                                (rule.values == 1 ? " value: " : " values: ") + names},
                 {"filterText", label}};
    item["documentation"] =
        "A " + std::string(rule.entry->noun) + "; it sets " + std::string(rule.entry->stores) + ".";
    if (snippets) {
      item["insertTextFormat"] = format_snippet;
      item["textEdit"] = {{"range", edit_range}, {"newText", snippet}};
    } else {
      item["insertTextFormat"] = format_plain;
      item["textEdit"] = {{"range", edit_range}, {"newText", label + ", "}};
    }
    items.push_back(std::move(item));
  }
  return items;
}

}  // namespace scenario_tool::lsp
