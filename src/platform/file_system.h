// The file primitives that differ from one operating system to the next, one
// implementation per system (posix_files.cpp, windows_files.cpp). Whole-file
// replacement (replace_file.h) is built on top of them.
//
// Every failure throws file_error naming the file the user knows and the
// system's reason.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// A file that cannot be created, written, replaced, read or removed.
class file_error : public std::runtime_error {
 public:
  // `missing`: the failure is that no file of that name exists.
  file_error(const std::filesystem::path& file, const std::string& action,
             const std::string& reason, bool missing = false);
  const std::filesystem::path& file() const { return file_; }
  bool missing() const { return missing_; }

 private:
  std::filesystem::path file_;
  bool missing_;
};

// Another run holds the folder's lock and did not let it go in time.
class folder_busy : public std::runtime_error {
 public:
  folder_busy(const std::filesystem::path& folder, std::chrono::milliseconds waited);
};

// Sets up the process once, before anything else: on a POSIX system a closed
// error stream (SIGPIPE) and a file-size limit (SIGXFSZ) become failed writes
// that the run reports, instead of signals that kill it without a word.
void prepare_process();

// A file created by this process, open for writing. Closes (but keeps) the
// file when destroyed.
class new_file {
 public:
  struct handle;

  // Creates `file` exclusively: fails if anything at all stands at that name
  // (a file, a link, which is never followed, a pipe, a device). Failures name
  // `known_as`, the file the user knows. Returns nullptr when the name is
  // taken, so that the caller may try another name.
  static std::unique_ptr<new_file> create(const std::filesystem::path& file,
                                          const std::filesystem::path& known_as);
  ~new_file();
  new_file(const new_file&) = delete;
  new_file& operator=(const new_file&) = delete;

  void write(std::string_view bytes);
  // Asks the system to start writing the bytes written so far to the disk,
  // without waiting for it: the flush before the rename then waits only for
  // what is still on its way. A hint only; it never fails.
  void start_write_back();
  // Flushes the file's data to the disk, then closes it.
  void flush_and_close();
  // Closes the file without flushing it: for a file that need not survive a
  // power cut.
  void close();

  explicit new_file(std::unique_ptr<handle> h);

 private:
  std::unique_ptr<handle> handle_;
};

#ifdef _WIN32
// For the tests of the Windows file layer, which has no library to preload:
// when set, asked before each flush of a new file's data with the name the
// file is known by; a nonzero answer is the system's error number the flush
// then fails with, as FlushFileBuffers would. Null: every flush is made.
using data_flush_hook = unsigned long (*)(const std::filesystem::path& known_as);
void set_data_flush_hook(data_flush_hook hook) noexcept;
#endif

// Renames `from` over `to`, replacing whatever stands at `to` (a link there is
// replaced, never followed). Failures name `to`. `lasting`: the rename must
// survive a power cut; where the system renames write-through (Windows), it
// does so, and elsewhere the caller flushes the folder afterwards.
void rename_over(const std::filesystem::path& from, const std::filesystem::path& to,
                 bool lasting = true);

// Gives the regular file `file` the second name `second` (a hard link), so
// that a later rename over `file` drops a name and frees nothing: freeing a
// large file's blocks is then left to whoever deletes `second`. Returns false,
// with nothing done, where the system cannot (no such file, a link, another
// user's file, a file system without hard links; on Windows it is not tried).
bool add_second_name(const std::filesystem::path& file,
                     const std::filesystem::path& second) noexcept;

// Flushes the folder's entries to the disk, so that a rename in it survives a
// power cut. Failures name `known_as`.
void flush_folder(const std::filesystem::path& folder, const std::filesystem::path& known_as);

// The most bytes a reader takes from a file, and how its failure names what
// holds at most that many ("a track plan").
struct read_bound {
  std::uint64_t largest = UINT64_MAX;
  std::string_view what;
};

// Reads a whole regular file (through a link, if one stands at the name); a
// pipe or device is refused without waiting on it. A file larger than the
// bound is refused before anything is read, with its size and the bound (and
// one that grows past it while it is read, as soon as it does).
std::string read_whole_file(const std::filesystem::path& file, const read_bound& bound = {});

// The reason a file too large for its reader is refused: "it holds N bytes;
// a track plan holds at most M".
std::string too_large_reason(std::uint64_t size, const read_bound& bound);

// The names of the entries of a folder (its own "." and ".." left out). The
// standard library's listing ends the program when memory runs out; this one
// throws std::bad_alloc as every other step does.
std::vector<std::filesystem::path> folder_entries(const std::filesystem::path& folder);

// Deletes a file if it exists (a link is deleted, never its target).
void remove_file(const std::filesystem::path& file);

// The same on the way out of a failure: a file that cannot be deleted must not
// hide the failure being reported, so nothing is thrown. An empty name is none.
void remove_file_quietly(const std::filesystem::path& file) noexcept;

// Holds an exclusive lock on a lock file until it is destroyed. The lock file
// is left in place: it holds nothing, and the lock goes with the process.
class folder_lock {
 public:
  struct handle;
  explicit folder_lock(std::unique_ptr<handle> h);
  ~folder_lock();
  folder_lock(folder_lock&&) noexcept;
  folder_lock& operator=(folder_lock&&) noexcept;

 private:
  std::unique_ptr<handle> handle_;
};

// Takes the lock of `lock_file`, creating it when missing, and waits up to
// `wait` while another process holds it; then throws folder_busy.
folder_lock lock_folder(const std::filesystem::path& lock_file, std::chrono::milliseconds wait);

}  // namespace platform
