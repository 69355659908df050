#include "scenario_tool/lsp/code_actions.h"

#include "reader/keyword.h"
#include "scenario_tool/compile/warnings.h"
#include "scenario_tool/lsp/completion.h"
#include "scenario_tool/shared/windows_1252.h"

namespace scenario_tool::lsp {
namespace {

using json = nlohmann::json;

text_point point_of(const json& position) {
  return {position.at("line").get<std::size_t>(), position.at("character").get<std::size_t>()};
}

// The keyword the author meant by `field`, or "" when it is not known.
std::string meant_keyword(const std::string& field, model::description_text which, bool header) {
  std::string lower = field;
  for (char& c : lower) c = reader::ascii_lower(c);
  if (lower != field && !keywords_matching(lower, which, header, true).empty()) return lower;
  return nearest_keyword(field, which, header);
}

}  // namespace

json quick_fixes(const text_document& document, model::description_text which,
                 const std::string& uri, const json& diagnostics) {
  json actions = json::array();
  if (!diagnostics.is_array()) return actions;
  for (const json& d : diagnostics) {
    if (!d.is_object() || d.value("code", json()) != "keyword-typo") continue;
    const text_point from = point_of(d.at("range").at("start"));
    const text_point to = point_of(d.at("range").at("end"));
    const std::size_t begin = document.offset(from);
    const std::size_t end = document.offset(to);
    if (end <= begin) continue;
    const std::string field = document.bytes().substr(begin, end - begin);
    const bool header = which == model::description_text::line && in_line_header(document, from);
    const std::string meant = meant_keyword(field, which, header);
    if (meant.empty() || meant == field) continue;
    json edit = {{"range", d.at("range")}, {"newText", utf8_from_windows_1252(meant)}};
    actions.push_back({{"title", "Write '" + utf8_from_windows_1252(meant) + "'"},
                       {"kind", "quickfix"},
                       {"diagnostics", json::array({d})},
                       {"isPreferred", true},
                       {"edit", {{"changes", {{uri, json::array({std::move(edit)})}}}}}});
  }
  return actions;
}

}  // namespace scenario_tool::lsp
