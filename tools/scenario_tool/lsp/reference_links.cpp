#include "scenario_tool/lsp/reference_links.h"

#include <map>
#include <system_error>
#include <vector>

#include "scenario_tool/explain/reference_entries.h"

namespace scenario_tool::lsp {
namespace {

// A heading's anchor as Markdown viewers make it: lower case, letters, digits,
// '-' and '_' kept, each blank a '-', everything else dropped.
std::string anchor_of(const std::string& title) {
  std::string anchor;
  for (const char c : title) {
    if (c >= 'A' && c <= 'Z') {
      anchor += static_cast<char>(c - 'A' + 'a');
    } else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_') {
      anchor += c;
    } else if (c == ' ') {
      anchor += '-';
    }
  }
  return anchor;
}

// Each entry name of the reference the tool carries (the page it is installed
// with), in lower case, and its heading's anchor.
const std::map<std::string, std::string>& anchors() {
  static const std::map<std::string, std::string> by_name = [] {
    std::map<std::string, std::string> found;
    for (const reference_entry& entry : reference_entries(format_reference())) {
      for (const std::string& name : entry.names) {
        std::string lower = name;
        for (char& c : lower) {
          if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        }
        found.emplace(lower, anchor_of(entry.title));
      }
    }
    return found;
  }();
  return by_name;
}

bool is_file(const std::filesystem::path& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

std::optional<std::filesystem::path> reference_beside(const std::filesystem::path& program) {
  const std::filesystem::path installed =
      program.parent_path() / SCENARIO_TOOL_DOCS_FROM_PROGRAMS / "format-reference.md";
  if (is_file(installed)) return installed.lexically_normal();
  const std::filesystem::path built_from = SCENARIO_TOOL_SOURCE_REFERENCE;
  if (is_file(built_from)) return built_from;
  return std::nullopt;
}

std::optional<std::string> entry_address(const std::string& reference_uri,
                                         const nlohmann::json& code) {
  std::string name;
  if (code.is_number_integer()) {
    name = std::to_string(code.get<std::int64_t>());
  } else if (code.is_string()) {
    name = code.get<std::string>();
  } else {
    return std::nullopt;
  }
  const auto found = anchors().find(name);
  if (found == anchors().end() || found->second.empty()) return std::nullopt;
  return reference_uri + "#" + found->second;
}

}  // namespace scenario_tool::lsp
