// Whole-file replacement: the new bytes go to a temporary file of a unique
// name beside the target, created exclusively, then renamed over the target.
// A file that must last has its write-back started as it is written, its data
// flushed before the rename and its folder flushed after it (at once, or once
// for several files while a folder_flush_batch is open). A failure or a power
// cut never leaves a truncated file behind, and an older, longer file never
// survives in part.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace platform {

// How long a replaced file must last.
enum class durability {
  // It stays after the program ends: flushed to the disk, so that once the
  // folder is flushed it survives a power cut.
  lasting,
  // The program reads it back and deletes it before it ends: renamed into
  // place whole, but never flushed, since a power cut loses nothing promised.
  read_back,
};

void replace_file(const std::filesystem::path& file, std::string_view bytes,
                  durability kind = durability::lasting);

// Receives the bytes of a file piece by piece, in order.
using byte_sink = std::function<void(std::string_view)>;

// The same for a file too large to hold whole in memory: `produce` hands its
// bytes to the sink piece by piece. If it throws, the old file stays as it
// was and no temporary is left behind.
void replace_file(const std::filesystem::path& file,
                  const std::function<void(const byte_sink&)>& produce,
                  durability kind = durability::lasting);

// While one is open, a lasting replacement leaves the flush of its folder to
// it: flush() flushes the folder once, after the last rename it must cover,
// instead of once per file. One flush of a folder makes every rename made in
// it before that flush survive a power cut. Destroyed without flush() (the
// run failed), it flushes nothing: each file is still whole, old or new.
// Batches do not nest; a program opens one for its whole run.
class folder_flush_batch {
 public:
  folder_flush_batch();
  ~folder_flush_batch();
  folder_flush_batch(const folder_flush_batch&) = delete;
  folder_flush_batch& operator=(const folder_flush_batch&) = delete;

  // Flushes the folder of the files renamed since the batch was opened, or
  // since the last flush; a failure names the last of them.
  void flush();

  // A lasting file has been renamed into place in `folder` (its name's
  // parent, taken before the rename): the folder is flushed later. Takes no
  // memory; throws only if flushing an earlier, other folder fails.
  void renamed(std::filesystem::path&& folder, std::filesystem::path&& file);

 private:
  std::filesystem::path folder_;        // the folder of last_renamed_
  std::filesystem::path last_renamed_;  // empty: nothing to flush
};

// The name of a temporary file for `file`: beside it, its own name, a random
// suffix and ".tmp".
std::filesystem::path temporary_name(const std::filesystem::path& file);

// Removes the temporary files that runs killed before their rename left in
// `folder`: exactly one of `own_names` (in UTF-8) followed by the suffix temporary_name
// adds, nothing else (a user's file that merely looks alike is kept). Only
// while no other run can be writing there (the folder's lock is held). A
// leftover that cannot be removed is left: it blocks nothing.
void remove_leftover_temporaries(const std::filesystem::path& folder,
                                 const std::vector<std::string>& own_names);

// Reads a whole file into memory; throws file_error when it cannot be read.
std::string read_file(const std::filesystem::path& file);

// The same for a file that may hold at most `bound.largest` bytes: a larger
// one is refused before it is read, naming its size and the bound.
std::string read_file(const std::filesystem::path& file, const read_bound& bound);

}  // namespace platform
