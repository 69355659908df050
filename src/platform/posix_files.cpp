// The file primitives on a POSIX system: descriptors opened without following
// links, exclusive creation, write-back started as a file is written (Linux's
// sync_file_range), fdatasync before a rename and fsync of the folder after
// it, and flock for the folder's lock.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <system_error>
#include <thread>

#include "platform/file_system.h"

namespace platform {
namespace {

std::string errno_text(int err) {
  return std::generic_category().message(err);
}

// Closes a descriptor, retrying nothing: after EINTR the descriptor is gone
// on Linux, and a second close could hit one opened meanwhile.
int close_descriptor(int fd) {
  return ::close(fd) == 0 ? 0 : errno;
}

int flush_data(int fd) {
#if defined(__APPLE__)
  return ::fsync(fd) == 0 ? 0 : errno;
#else
  return ::fdatasync(fd) == 0 ? 0 : errno;
#endif
}

// What failed when the folder cannot be flushed after a rename: the file is
// already replaced, only its new entry may not survive a power cut.
constexpr const char* folder_flush_action = "flush to the disk the folder entry of";

}  // namespace

void prepare_process() {
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGXFSZ, SIG_IGN);
}

struct new_file::handle {
  int fd = -1;
  std::filesystem::path known_as;
  off_t written = 0;     // bytes written so far
  off_t write_back = 0;  // bytes whose write-back has been started
};

new_file::new_file(std::unique_ptr<handle> h) : handle_(std::move(h)) {}

new_file::~new_file() {
  if (handle_ && handle_->fd >= 0) close_descriptor(handle_->fd);
}

std::unique_ptr<new_file> new_file::create(const std::filesystem::path& file,
                                           const std::filesystem::path& known_as) {
  // Everything that needs memory comes first: once the file exists, nothing
  // may fail before its owner does, or it would be left behind.
  auto h = std::make_unique<handle>();
  h->known_as = known_as;
  auto created = std::make_unique<new_file>(std::move(h));
  int fd = -1;
  do {
    fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    if (errno == EEXIST) return nullptr;
    throw file_error(known_as, "create", errno_text(errno));
  }
  created->handle_->fd = fd;
  return created;
}

void new_file::write(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(handle_->fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      throw file_error(handle_->known_as, "write", errno_text(errno));
    }
    if (written == 0) throw file_error(handle_->known_as, "write", errno_text(EIO));
    bytes.remove_prefix(static_cast<std::size_t>(written));
    handle_->written += written;
  }
}

void new_file::start_write_back() {
#if defined(__linux__)
  if (handle_->written > handle_->write_back) {
    // A failure here is found again by the flush, which reports it.
    ::sync_file_range(handle_->fd, handle_->write_back, handle_->written - handle_->write_back,
                      SYNC_FILE_RANGE_WRITE);
    handle_->write_back = handle_->written;
  }
#endif
}

void new_file::close() {
  const int closed = close_descriptor(handle_->fd);
  handle_->fd = -1;
  if (closed != 0) throw file_error(handle_->known_as, "write", errno_text(closed));
}

void new_file::flush_and_close() {
  const int flushed = flush_data(handle_->fd);
  const int closed = close_descriptor(handle_->fd);
  handle_->fd = -1;
  if (flushed != 0) throw file_error(handle_->known_as, "write", errno_text(flushed));
  if (closed != 0) throw file_error(handle_->known_as, "write", errno_text(closed));
}

void rename_over(const std::filesystem::path& from, const std::filesystem::path& to, bool) {
  if (::rename(from.c_str(), to.c_str()) != 0) throw file_error(to, "replace", errno_text(errno));
}

bool add_second_name(const std::filesystem::path& file,
                     const std::filesystem::path& second) noexcept {
  // linkat without AT_SYMLINK_FOLLOW links a symbolic link itself, never its
  // target; only a regular file is given a second name.
  struct stat info {};
  if (::lstat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  return ::linkat(AT_FDCWD, file.c_str(), AT_FDCWD, second.c_str(), 0) == 0;
}

void flush_folder(const std::filesystem::path& folder, const std::filesystem::path& known_as) {
  // Nothing here needs memory unless it fails: this comes after the rename,
  // when the file is already in place.
  const char* name = folder.empty() ? "." : folder.c_str();
  const int fd = ::open(name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    // A folder that may be written but not listed cannot be opened to be
    // flushed: its renames are as durable as the file system makes them.
    if (errno == EACCES) return;
    throw file_error(known_as, folder_flush_action, errno_text(errno));
  }
  int err = ::fsync(fd) == 0 ? 0 : errno;
  // Some file systems cannot sync a folder at all; their renames are as
  // durable as they will ever be.
  if (err == EINVAL || err == ENOTSUP) err = 0;
  const int closed = close_descriptor(fd);
  if (err != 0) throw file_error(known_as, folder_flush_action, errno_text(err));
  if (closed != 0) throw file_error(known_as, folder_flush_action, errno_text(closed));
}

std::string read_whole_file(const std::filesystem::path& file, const read_bound& bound) {
  int fd = -1;
  do {
    // Non-blocking, so that a pipe at the name (or at the end of a link) is
    // refused below rather than waited on.
    fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    const int err = errno;
    throw file_error(file, "open", errno_text(err), err == ENOENT);
  }
  struct closer {
    int fd;
    ~closer() { close_descriptor(fd); }
  } close_on_exit{fd};
  struct stat info {};
  if (::fstat(fd, &info) != 0) throw file_error(file, "read", errno_text(errno));
  if (!S_ISREG(info.st_mode)) throw file_error(file, "read", "it is not a regular file");
  if (info.st_size > 0 && static_cast<std::uint64_t>(info.st_size) > bound.largest) {
    throw file_error(file, "read",
                     too_large_reason(static_cast<std::uint64_t>(info.st_size), bound));
  }
  std::string bytes;
  if (info.st_size > 0) bytes.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      throw file_error(file, "read", errno_text(errno));
    }
    if (got == 0) break;
    if (static_cast<std::uint64_t>(got) > bound.largest - bytes.size()) {
      throw file_error(file, "read", too_large_reason(bytes.size() + got, bound));
    }
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
  return bytes;
}

std::vector<std::filesystem::path> folder_entries(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> names;
  DIR* listing = ::opendir(folder.c_str());
  if (listing == nullptr) throw file_error(folder, "list", errno_text(errno));
  struct closer {
    DIR* listing;
    ~closer() { ::closedir(listing); }
  } close_on_exit{listing};
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(listing);
    if (entry == nullptr) {
      if (errno != 0) throw file_error(folder, "list", errno_text(errno));
      break;
    }
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
  return names;
}

void remove_file(const std::filesystem::path& file) {
  if (::unlink(file.c_str()) != 0 && errno != ENOENT) {
    throw file_error(file, "delete", errno_text(errno));
  }
}

struct folder_lock::handle {
  int fd = -1;
};

folder_lock::folder_lock(std::unique_ptr<handle> h) : handle_(std::move(h)) {}
folder_lock::folder_lock(folder_lock&&) noexcept = default;
folder_lock& folder_lock::operator=(folder_lock&&) noexcept = default;

folder_lock::~folder_lock() {
  // Closing the descriptor lets the lock go.
  if (handle_ && handle_->fd >= 0) close_descriptor(handle_->fd);
}

folder_lock lock_folder(const std::filesystem::path& lock_file, std::chrono::milliseconds wait) {
  auto h = std::make_unique<folder_lock::handle>();
  folder_lock::handle& held = *h;
  folder_lock lock(std::move(h));
  // Opened for reading only, which is all flock needs: a lock file that a run
  // of another user left behind (writable by its owner alone) is taken as
  // well. It is created when missing, readable by everyone.
  int fd = -1;
  do {
    fd = ::open(lock_file.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    if (errno == ELOOP) throw file_error(lock_file, "lock", "it is a link, not a file");
    throw file_error(lock_file, "lock", errno_text(errno));
  }
  held.fd = fd;
  struct stat info {};
  if (::fstat(fd, &info) != 0) throw file_error(lock_file, "lock", errno_text(errno));
  if (!S_ISREG(info.st_mode)) throw file_error(lock_file, "lock", "it is not a regular file");

  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return lock;
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK) throw file_error(lock_file, "lock", errno_text(errno));
    if (std::chrono::steady_clock::now() >= deadline) {
      throw folder_busy(lock_file.parent_path(), wait);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

}  // namespace platform
