#include "scenario_tool/shared/checked_output.h"

#include <cerrno>
#include <cstring>

namespace scenario_tool {

void checked_output::failed() {
  if (!failure_.empty()) return;
  const int error = errno;
  failure_ = error != 0 ? std::strerror(error) : "the write failed";
}

checked_output::int_type checked_output::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  const char byte = traits_type::to_char_type(c);
  return xsputn(&byte, 1) == 1 ? c : traits_type::eof();
}

std::streamsize checked_output::xsputn(const char* bytes, std::streamsize count) {
  if (!failure_.empty()) return 0;
  if (count <= 0) return 0;
  errno = 0;
  const std::size_t written = std::fwrite(bytes, 1, static_cast<std::size_t>(count), file_);
  if (written != static_cast<std::size_t>(count) || std::ferror(file_) != 0) {
    failed();
    return 0;
  }
  return static_cast<std::streamsize>(written);
}

int checked_output::sync() {
  if (!failure_.empty()) return -1;
  errno = 0;
  if (std::fflush(file_) != 0 || std::ferror(file_) != 0) {
    failed();
    return -1;
  }
  return 0;
}

}  // namespace scenario_tool
