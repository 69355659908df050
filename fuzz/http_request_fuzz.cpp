// view's request parser on arbitrary bytes: any bytes give a state and, for a
// complete head, a request whose target is a path; never a crash or a read
// outside the bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "scenario_tool/view/http_request.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace scenario_tool::view;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const head_state state = head_status(bytes);
  if (const auto r = parse_request(bytes)) {
    if (r->path.empty() || r->path.front() != '/' || r->method.empty()) std::abort();
    if (r->path.find_first_of(" ?") != std::string_view::npos) std::abort();
  }
  if (state == head_state::complete && !parse_request(bytes)) std::abort();
  return 0;
}
