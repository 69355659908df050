#include "scenario_tool/lsp/value_name_hints.h"

#include <string>
#include <vector>

#include "reader/field_reader.h"
#include "scenario_tool/lsp/row_facts.h"
#include "scenario_tool/shared/windows_1252.h"

namespace scenario_tool::lsp {

std::optional<bool> value_names_setting(const nlohmann::json& settings) {
  static const nlohmann::json::json_pointer where("/scenarioTexts/inlayHints/valueNames");
  if (!settings.is_object() || !settings.contains(where)) return std::nullopt;
  const nlohmann::json& value = settings.at(where);
  if (!value.is_boolean()) return std::nullopt;
  return value.get<bool>();
}

nlohmann::json value_name_hints(const analysis& a, model::description_text which,
                                const text_document& document, std::size_t first,
                                std::size_t last) {
  nlohmann::json hints = nlohmann::json::array();
  const std::string& bytes = document.bytes();
  for (const read_row& row : a.rows.rows(which)) {
    if (row.fields.size() < 2) continue;
    const std::size_t line = document.point(row.fields.front()).line;
    if (line < first) continue;
    if (line > last) break;
    const std::vector<keyword_rule> rules = row_keywords(a, row);
    if (rules.empty()) continue;
    const reader::row_keyword& entry = *rules.front().entry;
    for (std::size_t v = 1; v < row.fields.size() && v - 1 < entry.values.size(); ++v) {
      // Before the value itself, past the blanks after its comma.
      std::size_t at = row.fields[v];
      while (at < bytes.size() && reader::is_blank(bytes[at])) ++at;
      const text_point p = document.point(at);
      hints.push_back(
          {{"position", {{"line", p.line}, {"character", p.character}}},
           {"label", utf8_from_windows_1252(std::string(entry.values[v - 1].name) + ":")},
           {"kind", 2},
           {"paddingRight", true}});
    }
  }
  return hints;
}

}  // namespace scenario_tool::lsp
