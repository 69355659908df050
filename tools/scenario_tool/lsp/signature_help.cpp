#include "scenario_tool/lsp/signature_help.h"

#include <string>

#include "model/windows_1252.h"
#include "reader/field_reader.h"
#include "scenario_tool/compile/warnings.h"
#include "scenario_tool/lsp/completion.h"
#include "scenario_tool/shared/value_words.h"
#include "scenario_tool/shared/windows_1252.h"

namespace scenario_tool::lsp {
namespace {

using json = nlohmann::json;

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && reader::is_blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && reader::is_blank(s.back())) s.remove_suffix(1);
  return s;
}

// The index of the value being written at the end of `values` (the row's
// text after its keyword's comma, up to the cursor), read as the reader reads.
std::size_t value_at_end(std::string_view values, const reader::row_keyword& entry) {
  std::size_t v = 0;
  std::size_t i = 0;
  const auto at_end = [&] { return i >= values.size(); };
  for (;;) {
    const bool text = v < entry.values.size() && entry.values[v].text;
    if (text) {
      while (!at_end() && values[i] != ',') ++i;
      if (at_end()) return v;
      ++i;
      ++v;
      continue;
    }
    while (!at_end() && reader::is_blank(values[i])) ++i;
    while (!at_end() && values[i] != ',' && !reader::is_blank(values[i])) ++i;
    if (at_end()) return v;
    while (!at_end() && reader::is_blank(values[i])) ++i;
    if (at_end()) return v;
    if (values[i] == ',') ++i;
    ++v;
  }
}

}  // namespace

json signature_help_at(const text_document& document, model::description_text which,
                       text_point at) {
  if (at.line >= document.line_count()) return nullptr;
  const std::string_view line = document.line(at.line);
  const std::string_view before = line.substr(0, std::min(at.character, line.size()));
  const std::size_t comma = before.find(',');
  if (comma == std::string_view::npos) return nullptr;
  const std::string_view keyword = trimmed(before.substr(0, comma));
  if (keyword.find('-') != std::string_view::npos) return nullptr;  // a comment
  const bool header = which == model::description_text::line && in_line_header(document, at);
  const std::vector<keyword_rule> rules = keywords_matching(keyword, which, header, true);
  if (rules.empty()) return nullptr;
  const keyword_rule& rule = rules.front();
  const reader::row_keyword& entry = *rule.entry;
  const std::size_t active = value_at_end(before.substr(comma + 1), entry);
  if (active >= rule.values) return nullptr;

  // "segnale, posizione (m), sx, ..." with each value's place in the label.
  // Built in Windows-1252, one byte per UTF-16 code unit, so that the offsets
  // are the protocol's.
  std::string label(keyword);
  json parameters = json::array();
  for (std::size_t v = 0; v < rule.values; ++v) {
    const reader::row_value& value = entry.values[v];
    // The label is Windows-1252, the table's words UTF-8 ("‰").
    const std::string words = value_label(value);
    const std::string shown = model::windows_1252_from_utf8(words).value_or(words);
    label += ", ";
    const std::size_t from = label.size();
    label += shown;
    parameters.push_back(
        {{"label", {from, label.size()}}, {"documentation", value_summary(value)}});
  }
  const std::string documentation =
      "A " + std::string(entry.noun) + "; it sets " + std::string(entry.stores) + ".";
  return {{"signatures", json::array({{{"label", utf8_from_windows_1252(label)},
                                       {"documentation", documentation},
                                       {"parameters", std::move(parameters)},
                                       {"activeParameter", active}}})},
          {"activeSignature", 0},
          {"activeParameter", active}};
}

}  // namespace scenario_tool::lsp
