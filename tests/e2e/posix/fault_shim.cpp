// A library preloaded into the installer by the tests: it makes the system
// calls on one file fail as a failing machine would.
//
//   FAULT_FILE   the file's own name (the last part of its path)
//   FAULT_CALL   "open": opening it fails; "read": reading from it fails
//   FAULT_ERRNO  the error number the call fails with
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

namespace {

const char* env(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

bool is_fault_file(const char* path) {
  const char* wanted = env("FAULT_FILE");
  if (path == nullptr || *wanted == '\0') return false;
  const char* slash = std::strrchr(path, '/');
  return std::strcmp(slash != nullptr ? slash + 1 : path, wanted) == 0;
}

bool call_is(const char* call) {
  return std::strcmp(env("FAULT_CALL"), call) == 0;
}

int fault_errno() {
  return std::atoi(env("FAULT_ERRNO"));
}

// Descriptors open on the fault file, for the "read" fault.
constexpr int tracked_limit = 1024;
std::atomic<bool> tracked[tracked_limit];

void track(int fd, const char* path) {
  if (fd >= 0 && fd < tracked_limit) tracked[fd] = is_fault_file(path);
}

template <typename F>
F next(const char* name) {
  return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
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

int close(int fd) {
  if (fd >= 0 && fd < tracked_limit) tracked[fd] = false;
  return next<int (*)(int)>("close")(fd);
}

}  // extern "C"
