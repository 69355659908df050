#include "scenario_tool/lsp/file_uri.h"

#include <cctype>

namespace scenario_tool::lsp {
namespace {

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<std::filesystem::path> path_from_uri(const std::string& uri) {
  const std::string scheme = "file://";
  if (uri.size() <= scheme.size()) return std::nullopt;
  for (std::size_t i = 0; i < scheme.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(uri[i])) != scheme[i]) return std::nullopt;
  }
  std::string rest = uri.substr(scheme.size());
  // file://host/path: only the local host (empty or "localhost") is a file here.
  const std::size_t slash = rest.find('/');
  if (slash == std::string::npos) return std::nullopt;
  const std::string host = rest.substr(0, slash);
  if (!host.empty() && host != "localhost") return std::nullopt;
  rest = rest.substr(slash);
  std::string path;
  for (std::size_t i = 0; i < rest.size(); ++i) {
    if (rest[i] == '%') {
      const int high = i + 1 < rest.size() ? hex_value(rest[i + 1]) : -1;
      const int low = i + 2 < rest.size() ? hex_value(rest[i + 2]) : -1;
      if (high < 0 || low < 0) return std::nullopt;
      path.push_back(static_cast<char>(high * 16 + low));
      i += 2;
    } else if (rest[i] == '?' || rest[i] == '#') {
      break;
    } else {
      path.push_back(rest[i]);
    }
  }
  if (path.find('\0') != std::string::npos) return std::nullopt;
#ifdef _WIN32
  // /C:/folder/file
  if (path.size() >= 3 && path[0] == '/' && path[2] == ':') path.erase(0, 1);
#endif
  return std::filesystem::path(path);
}

std::string uri_from_path(const std::filesystem::path& path) {
  std::string text = path.generic_string();
#ifdef _WIN32
  if (text.size() >= 2 && text[1] == ':') text = "/" + text;
#endif
  std::string out = "file://";
  static const char digits[] = "0123456789ABCDEF";
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (std::isalnum(u) || c == '-' || c == '.' || c == '_' || c == '~' || c == '/' ||
        (c == ':' && out.size() <= 10)) {
      out.push_back(c);
    } else {
      out.push_back('%');
      out.push_back(digits[u >> 4]);
      out.push_back(digits[u & 15]);
    }
  }
  return out;
}

}  // namespace scenario_tool::lsp
