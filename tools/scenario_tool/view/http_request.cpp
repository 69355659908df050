#include "scenario_tool/view/http_request.h"

#include <algorithm>

namespace scenario_tool::view {

head_state head_status(std::string_view bytes) {
  const std::size_t crlf = bytes.find("\r\n\r\n");
  const std::size_t lf = bytes.find("\n\n");
  const std::size_t end = std::min(crlf == std::string_view::npos ? crlf : crlf + 4,
                                   lf == std::string_view::npos ? lf : lf + 2);
  if (end == std::string_view::npos) {
    return bytes.size() > largest_request_head ? head_state::too_large : head_state::incomplete;
  }
  if (end > largest_request_head) return head_state::too_large;
  return parse_request(bytes.substr(0, end)) ? head_state::complete : head_state::malformed;
}

std::optional<request> parse_request(std::string_view head) {
  const std::size_t line_end = head.find('\n');
  if (line_end == std::string_view::npos) return std::nullopt;
  std::string_view line = head.substr(0, line_end);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  for (const char c : line) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7f) return std::nullopt;
  }
  const std::size_t first = line.find(' ');
  if (first == std::string_view::npos || first == 0) return std::nullopt;
  const std::size_t second = line.find(' ', first + 1);
  if (second == std::string_view::npos || second == first + 1) return std::nullopt;
  const std::string_view method = line.substr(0, first);
  const std::string_view target = line.substr(first + 1, second - first - 1);
  const std::string_view version = line.substr(second + 1);
  if (version != "HTTP/1.1" && version != "HTTP/1.0") return std::nullopt;
  for (const char c : method) {
    if (c < 'A' || c > 'Z') return std::nullopt;
  }
  if (target.front() != '/' || target.find(' ') != std::string_view::npos) return std::nullopt;
  request r;
  r.method = std::string(method);
  r.path = std::string(target.substr(0, target.find('?')));
  return r;
}

}  // namespace scenario_tool::view
