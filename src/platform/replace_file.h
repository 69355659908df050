// Whole-file replacement: the new bytes go to a temporary file of a unique
// name beside the target, created exclusively, flushed to the disk, then
// renamed over the target, and the folder is flushed after the rename. A
// failure or a power cut never leaves a truncated file behind, and an older,
// longer file never survives in part.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace platform {

void replace_file(const std::filesystem::path& file, std::string_view bytes);

// Receives the bytes of a file piece by piece, in order.
using byte_sink = std::function<void(std::string_view)>;

// The same for a file too large to hold whole in memory: `produce` hands its
// bytes to the sink piece by piece. If it throws, the old file stays as it
// was and no temporary is left behind.
void replace_file(const std::filesystem::path& file,
                  const std::function<void(const byte_sink&)>& produce);

// The name of a temporary file for `file`: beside it, its own name, a random
// suffix and ".tmp".
std::filesystem::path temporary_name(const std::filesystem::path& file);

// Removes the temporary files that runs killed before their rename left in
// `folder`: those of the files whose names begin with `prefix`. Only while no
// other run can be writing there (the folder's lock is held). A leftover that
// cannot be removed is left: it blocks nothing.
void remove_leftover_temporaries(const std::filesystem::path& folder, const std::string& prefix);

// Reads a whole file into memory; throws file_error when it cannot be read.
std::string read_file(const std::filesystem::path& file);

}  // namespace platform
