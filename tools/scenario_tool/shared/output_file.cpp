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
      return;
    case type::symlink: {
      // A link is replaced, never followed; but one that stands for a device,
      // a pipe or a folder (/dev/stdout, a /proc/*/fd entry) is refused as
      // what it leads to would be. A link to a regular file, or to nothing,
      // is replaced by the file itself.
      std::error_code target_failed;
      const std::filesystem::file_type target = std::filesystem::status(file, target_failed).type();
      if (target == type::regular || target == type::not_found) return;
      if (target == type::directory) {
        refusal = "it is a link to a folder, not a file";
      } else if (target == type::block || target == type::character) {
        refusal = "it is a link to a device, not a file";
      } else if (target == type::fifo) {
        refusal = "it is a link to a pipe (FIFO), not a file";
      } else if (target == type::socket) {
        refusal = "it is a link to a socket, not a file";
      } else if (target == type::none && target_failed) {
        // A loop of links, or a target that cannot be asked for: replaced.
        return;
      } else {
        refusal = "it is a link to something that is not a regular file";
      }
      break;
    }
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
