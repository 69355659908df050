// A library preloaded into the installer by the tests: it makes the system
// calls on one file fail as a failing machine would, and can log the calls
// that make a replacement last.
//
//   FAULT_FILE   the file's own name (the last part of its path)
//   FAULT_CALL   "open": opening it fails; "read": reading from it fails;
//                "data_flush": flushing the data of its temporary fails;
//                "folder_flush": flushing the folder after it was renamed
//                into place fails;
//                "stat": asking for its status fails
//   FAULT_ERRNO  the error number the call fails with
//   FAULT_LOG    a file to which each data flush, write-back start, rename,
//                deletion and folder flush is appended as one line, with own
//                names: "data_flush NAME", "write_back NAME", "rename FROM TO",
//                "link FROM TO", "delete NAME", "folder_flush FOLDER"
//   FAULT_KILL_AT  N: the process is killed (SIGKILL) just before its N-th
//                step that changes what a power cut would leave: a file
//                created, a data or folder flush, a rename, a second name
//                (a hard link), a deletion
//   FAULT_STOP_AT  N: the same step stops the process (SIGSTOP) instead, so
//                that the disk can be copied as it stands at that moment
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

namespace {

const char* env(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

const char* own_name(const char* path) {
  const char* slash = std::strrchr(path, '/');
  return slash != nullptr ? slash + 1 : path;
}

bool is_fault_file(const char* path) {
  const char* wanted = env("FAULT_FILE");
  if (path == nullptr || *wanted == '\0') return false;
  return std::strcmp(own_name(path), wanted) == 0;
}

// The fault file's temporary: its own name, ".", 16 hex digits, ".tmp".
bool is_fault_temporary(const char* path) {
  const char* wanted = env("FAULT_FILE");
  if (path == nullptr || *wanted == '\0') return false;
  const char* name = own_name(path);
  const std::size_t size = std::strlen(wanted);
  return std::strncmp(name, wanted, size) == 0 && std::strlen(name) == size + 21 &&
         name[size] == '.' && std::strcmp(name + size + 17, ".tmp") == 0;
}

bool call_is(const char* call) {
  return std::strcmp(env("FAULT_CALL"), call) == 0;
}

int fault_errno() {
  return std::atoi(env("FAULT_ERRNO"));
}

// Descriptors open on the fault file, for the "read" fault, and on its
// temporary, for the "data_flush" fault; the own name of each open file, for
// the log.
constexpr int tracked_limit = 1024;
std::atomic<bool> tracked[tracked_limit];
std::atomic<bool> tracked_temporary[tracked_limit];
char names[tracked_limit][256];

// Set once the fault file has been renamed into place.
std::atomic<bool> fault_file_renamed{false};

void track(int fd, const char* path) {
  if (fd < 0 || fd >= tracked_limit) return;
  tracked[fd] = is_fault_file(path);
  tracked_temporary[fd] = is_fault_temporary(path);
  std::strncpy(names[fd], path != nullptr ? own_name(path) : "", sizeof names[fd] - 1);
  names[fd][sizeof names[fd] - 1] = '\0';
}

const char* name_of(int fd) {
  return fd >= 0 && fd < tracked_limit ? names[fd] : "?";
}

template <typename F>
F next(const char* name) {
  return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

// Appends "WHAT A[ B]" to the log, with the system's own calls.
void log_call(const char* what, const char* a, const char* b = nullptr) {
  const char* log = env("FAULT_LOG");
  if (*log == '\0') return;
  char line[600];
  int size = 0;
  for (const char* part : {what, " ", a, b != nullptr ? " " : "", b != nullptr ? b : "", "\n"}) {
    for (; *part != '\0' && size < static_cast<int>(sizeof line) - 1; ++part) line[size++] = *part;
  }
  const int fd = next<int (*)(const char*, int, ...)>("open")(
      log, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return;
  const ssize_t written = next<ssize_t (*)(int, const void*, size_t)>("write")(fd, line, size);
  (void)written;
  next<int (*)(int)>("close")(fd);
}

// Counts a step and, when it is the one FAULT_KILL_AT names, kills the
// process before it is made, as a kill or a power cut at that moment would.
std::atomic<long> steps{0};

void step() {
  const long kill_at = std::atol(env("FAULT_KILL_AT"));
  const long stop_at = std::atol(env("FAULT_STOP_AT"));
  const long now = ++steps;
  if (kill_at > 0 && now == kill_at) std::raise(SIGKILL);
  if (stop_at > 0 && now == stop_at) std::raise(SIGSTOP);
}

bool is_folder(int fd) {
  struct stat info {};
  return fstat(fd, &info) == 0 && S_ISDIR(info.st_mode);
}

// The flush of a file's data, or of a folder (fsync on a folder).
int flush_with(const char* name, int fd) {
  step();
  if (is_folder(fd)) {
    log_call("folder_flush", name_of(fd));
    if (call_is("folder_flush") && fault_file_renamed) {
      errno = fault_errno();
      return -1;
    }
  } else {
    log_call("data_flush", name_of(fd));
    if (call_is("data_flush") && fd >= 0 && fd < tracked_limit && tracked_temporary[fd]) {
      errno = fault_errno();
      return -1;
    }
  }
  return next<int (*)(int)>(name)(fd);
}

mode_t mode_of(int flags, va_list args) {
  if ((flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE) {
    return static_cast<mode_t>(va_arg(args, int));
  }
  return 0;
}

// `dirfd` is used only by the "at" calls (`at`).
int open_with(const char* name, bool at, int dirfd, const char* path, int flags, mode_t mode) {
  if (call_is("open") && is_fault_file(path)) {
    errno = fault_errno();
    return -1;
  }
  if ((flags & O_CREAT) != 0) step();
  int fd = -1;
  if (!at) {
    fd = next<int (*)(const char*, int, ...)>(name)(path, flags, mode);
  } else {
    fd = next<int (*)(int, const char*, int, ...)>(name)(dirfd, path, flags, mode);
  }
  track(fd, path);
  return fd;
}

}  // namespace

extern "C" {

int open(const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = mode_of(flags, args);
  va_end(args);
  return open_with("open", false, 0, path, flags, mode);
}

int open64(const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = mode_of(flags, args);
  va_end(args);
  return open_with("open64", false, 0, path, flags, mode);
}

int openat(int dirfd, const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = mode_of(flags, args);
  va_end(args);
  return open_with("openat", true, dirfd, path, flags, mode);
}

int openat64(int dirfd, const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = mode_of(flags, args);
  va_end(args);
  return open_with("openat64", true, dirfd, path, flags, mode);
}

ssize_t read(int fd, void* buffer, size_t size) {
  if (call_is("read") && fd >= 0 && fd < tracked_limit && tracked[fd]) {
    errno = fault_errno();
    return -1;
  }
  return next<ssize_t (*)(int, void*, size_t)>("read")(fd, buffer, size);
}

int stat(const char* path, struct stat* info) {
  if (call_is("stat") && is_fault_file(path)) {
    errno = fault_errno();
    return -1;
  }
  return next<int (*)(const char*, struct stat*)>("stat")(path, info);
}

int close(int fd) {
  if (fd >= 0 && fd < tracked_limit) {
    tracked[fd] = false;
    tracked_temporary[fd] = false;
  }
  return next<int (*)(int)>("close")(fd);
}

int fsync(int fd) {
  return flush_with("fsync", fd);
}

int fdatasync(int fd) {
  return flush_with("fdatasync", fd);
}

int sync_file_range(int fd, off64_t offset, off64_t size, unsigned int flags) {
  log_call("write_back", name_of(fd));
  return next<int (*)(int, off64_t, off64_t, unsigned int)>("sync_file_range")(fd, offset, size,
                                                                               flags);
}

int rename(const char* from, const char* to) {
  step();
  log_call("rename", own_name(from), own_name(to));
  const int renamed = next<int (*)(const char*, const char*)>("rename")(from, to);
  if (renamed == 0 && is_fault_file(to)) fault_file_renamed = true;
  return renamed;
}

int linkat(int from_dir, const char* from, int to_dir, const char* to, int flags) {
  step();
  log_call("link", own_name(from), own_name(to));
  return next<int (*)(int, const char*, int, const char*, int)>("linkat")(from_dir, from, to_dir,
                                                                          to, flags);
}

int unlink(const char* path) {
  step();
  log_call("delete", own_name(path));
  return next<int (*)(const char*)>("unlink")(path);
}

}  // extern "C"
