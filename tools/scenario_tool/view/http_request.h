// The little HTTP that view speaks: a GET request's target, read from the
// bytes a browser sends up to the blank line that ends its head.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace scenario_tool::view {

// A request head larger than this is refused (431).
inline constexpr std::size_t largest_request_head = 8192;

struct request {
  std::string method;  // "GET", "HEAD", ... as sent
  std::string path;    // the target without its query: "/", "/data.json"
};

enum class head_state { incomplete, complete, malformed, too_large };

// Whether `bytes` hold a whole request head yet (ended by CR LF CR LF or LF LF).
head_state head_status(std::string_view bytes);

// The request line of a complete head: METHOD SP TARGET SP HTTP/1.x; nothing
// for anything else (no target starting with '/', control bytes, ...).
std::optional<request> parse_request(std::string_view head);

}  // namespace scenario_tool::view
