#include "scenario_tool/lsp/diagnostic_notes.h"

namespace scenario_tool::lsp {

nlohmann::json with_notes_related(const std::vector<diagnostic>& diagnostics,
                                  const std::string& uri,
                                  const std::function<nlohmann::json(const diagnostic&)>& convert) {
  constexpr int information = 3;
  nlohmann::json list = nlohmann::json::array();
  bool after_diagnostic = false;  // the last one published is not a note
  for (const diagnostic& d : diagnostics) {
    nlohmann::json one = convert(d);
    if (d.level != severity::note) {
      list.push_back(std::move(one));
      after_diagnostic = true;
      continue;
    }
    if (!after_diagnostic) {
      one["severity"] = information;
      list.push_back(std::move(one));
      continue;
    }
    list.back()["relatedInformation"].push_back(
        {{"location", {{"uri", uri}, {"range", one["range"]}}}, {"message", one["message"]}});
  }
  return list;
}

}  // namespace scenario_tool::lsp
