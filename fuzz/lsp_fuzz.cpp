// libFuzzer target: the language server on an arbitrary byte stream from its
// editor. Every input must end in answers, errors or silence, never a crash,
// a hang or an access outside a buffer. Streams that frame their messages
// well reach the server's features with texts of any bytes.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "scenario_tool/lsp/language_server.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::stringbuf in(std::string(reinterpret_cast<const char*>(data), size));
  std::ostringstream out;
  const int status = scenario_tool::lsp::serve(in, out);
  if (status != 0 && status != 1) __builtin_trap();
  return 0;
}
