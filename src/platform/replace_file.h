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

// While one is open, a lasting replacement is staged, not put in place: its
// temporary is written, its write-back started, and it waits, open, beside
// the file. flush() puts every staged file in place in one short burst, so
// that the folder never holds some new and some old files of a run:
//   0. each staged temporary's data is flushed, one after the other: the disk
//      has had the whole run to write them, and one commit of the file
//      system's journal may serve them all;
//   1. the intent record `scenari.<16 hex digits>.commit` (empty) is created,
//      the digits those of every staged temporary's name, together with an
//      empty mark `<file>.<digits>.gone` for each file to be removed;
//   2. the folder is flushed: the temporaries, the marks and the record now
//      survive a power cut together;
//   3. the burst: each temporary renamed over its file, each marked file and
//      its mark deleted;
//   4. the folder is flushed again, which makes the burst last; the record is
//      then deleted.
// A run killed or cut off during the burst leaves the record: the next run
// completes the burst (complete_interrupted_burst) before anything else.
// Destroyed without flush() (the run failed), the batch deletes its staged
// temporaries: every file stays as it was. All staged files lie in one
// folder. Batches do not nest; a program opens one for its whole run.
class folder_flush_batch {
 public:
  folder_flush_batch();
  ~folder_flush_batch();
  folder_flush_batch(const folder_flush_batch&) = delete;
  folder_flush_batch& operator=(const folder_flush_batch&) = delete;

  // The burst above; nothing staged, nothing done. A failure before the burst
  // leaves every file as it was; a failure during or after it names the file
  // at fault and leaves the record for the next run.
  void flush();

  // `file` is to be deleted in the burst (a file of an earlier installation
  // that this one does not carry); nothing is done if it does not exist then.
  void remove_in_burst(const std::filesystem::path& file);

  // The suffix of every temporary staged in this batch: ".<digits>.tmp".
  const std::string& temporary_suffix() const { return suffix_; }

  // A lasting file written to `temporary` and still `open`, to be flushed and
  // renamed over `file` in the burst. Takes `open` only once nothing can
  // fail: if this throws, the caller still holds it.
  void stage(std::filesystem::path&& temporary, const std::filesystem::path& file,
             std::unique_ptr<new_file>& open);

  // Draws new digits for the batch when a temporary's name is taken, and
  // renames the temporaries staged so far to match.
  void draw_new_digits();

 private:
  struct staged_file {
    std::filesystem::path temporary;
    std::filesystem::path file;
    std::unique_ptr<new_file> open;  // until its data is flushed
  };
  void discard() noexcept;

  std::string digits_;  // 16 hex digits shared by the batch's names
  std::string suffix_;  // "." + digits_ + ".tmp"
  std::vector<staged_file> staged_;
  std::vector<std::filesystem::path> removals_;
};

// The width of this process's last burst, in microseconds, from its first
// rename to its last deletion (the folder's flush after it not included);
// 0 before any burst.
double last_burst_microseconds() noexcept;

// The batch lasting replacements are staged in, if one is open.
folder_flush_batch* open_folder_flush_batch() noexcept;

// Completes, in `folder`, a burst that a run killed or cut off left under its
// intent record: every temporary carrying the record's digits is renamed over
// its file, every marked file deleted, the folder flushed, the record deleted.
// Called under the folder's lock before anything else is written (by
// remove_leftover_temporaries). Throws file_error when it cannot: a run must
// not write over a half-made burst.
void complete_interrupted_burst(const std::filesystem::path& folder);

// The name of a temporary file for `file`: beside it, its own name, a random
// suffix and ".tmp".
std::filesystem::path temporary_name(const std::filesystem::path& file);

// 16 hex digits from 64 random bits: a part of a name that no run of this
// program has used, nor will.
std::string random_name_digits();

// First completes a burst a killed run left (complete_interrupted_burst),
// then removes the temporary files that runs killed before their burst left
// in `folder`: exactly one of `own_names` (in UTF-8) followed by the suffix
// temporary_name adds, or by the same digits and ".gone", nothing else (a user's file that merely
// looks alike is kept). Only while no other run can be writing there (the folder's lock is held). A
// leftover that cannot be removed is left: it blocks nothing.
void remove_leftover_temporaries(const std::filesystem::path& folder,
                                 const std::vector<std::string>& own_names);

// Reads a whole file into memory; throws file_error when it cannot be read.
std::string read_file(const std::filesystem::path& file);

// The same for a file that may hold at most `bound.largest` bytes: a larger
// one is refused before it is read, naming its size and the bound.
std::string read_file(const std::filesystem::path& file, const read_bound& bound);

}  // namespace platform
