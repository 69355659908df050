// Whole-file replacement: the new bytes go to a temporary file beside the
// target, which is then renamed over it, so that a failure never leaves a
// truncated file behind and an older, longer file never survives in part.
#pragma once

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace platform {

// A file that cannot be created, written, replaced or removed. The message
// names the file and the system's reason.
class file_error : public std::runtime_error {
 public:
  file_error(const std::filesystem::path& file, const std::string& action,
             const std::string& reason);
  const std::filesystem::path& file() const { return file_; }

 private:
  std::filesystem::path file_;
};

void replace_file(const std::filesystem::path& file, std::string_view bytes);

// Receives the bytes of a file piece by piece, in order.
using byte_sink = std::function<void(std::string_view)>;

// The same for a file too large to hold whole in memory: `produce` hands its
// bytes to the sink piece by piece. If it throws, the old file stays as it
// was and no temporary is left behind.
void replace_file(const std::filesystem::path& file,
                  const std::function<void(const byte_sink&)>& produce);

// Reads a whole file into memory; throws file_error when it cannot be read.
std::string read_file(const std::filesystem::path& file);

// Deletes a file if it exists; throws file_error when it exists and cannot be removed.
void remove_file(const std::filesystem::path& file);

}  // namespace platform
