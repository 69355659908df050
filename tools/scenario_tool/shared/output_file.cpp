#include "scenario_tool/shared/output_file.h"

#include <system_error>

#include "platform/file_system.h"
#include "platform/replace_file.h"

namespace scenario_tool {

void check_output_name(const std::filesystem::path& file) {
  std::error_code failed;
  const std::filesystem::file_status status = std::filesystem::symlink_status(file, failed);
  using type = std::filesystem::file_type;
  const char* refusal = nullptr;
  switch (status.type()) {
    case type::not_found:
    case type::regular:
    case type::symlink:
      return;
    case type::directory:
      refusal = "it is a folder, not a file";
      break;
    case type::block:
    case type::character:
      refusal = "it is a device, not a file";
      break;
    case type::fifo:
      refusal = "it is a pipe (FIFO), not a file";
      break;
    case type::socket:
      refusal = "it is a socket, not a file";
      break;
    case type::none:
      // The name's status could not be asked for (a folder that cannot be
      // searched...): writing would fail the same way, with its reason.
      if (failed) throw platform::file_error(file, "write", failed.message());
      return;
    default:
      refusal = "it is not a regular file";
      break;
  }
  throw platform::file_error(file, "write", refusal);
}

void replace_output_file(const std::filesystem::path& file, std::string_view bytes) {
  check_output_name(file);
  platform::replace_file(file, bytes);
}

}  // namespace scenario_tool
