#include "scenario_tool/view/file_watch.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <cstdint>
#include <string>
#include <system_error>

#ifdef __linux__
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

namespace scenario_tool::view {

#ifdef __linux__

file_watch::file_watch(const std::vector<std::filesystem::path>& files) {
  fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (fd_ < 0) return;
  for (const std::filesystem::path& file : files) {
    std::filesystem::path folder = file.parent_path();
    if (folder.empty()) folder = ".";
    // A save closes the file after writing, or renames a finished copy onto it.
    const int wd = ::inotify_add_watch(fd_, folder.c_str(),
                                       IN_CLOSE_WRITE | IN_MOVED_TO | IN_CREATE | IN_DELETE);
    if (wd < 0) continue;  // the timed comparison still sees this file
    names_.push_back(file.filename().string());
    folder_of_name_.push_back(wd);
  }
}

file_watch::~file_watch() {
  if (fd_ >= 0) ::close(fd_);
}

bool file_watch::take_notices() {
  if (fd_ < 0) return false;
  bool named = false;
  alignas(inotify_event) char buffer[8192];
  for (;;) {
    const ssize_t n = ::read(fd_, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= n;) {
      inotify_event event;
      std::memcpy(&event, buffer + at, sizeof event);
      const std::size_t length = event.len;
      const std::size_t name_at = static_cast<std::size_t>(at) + sizeof event;
      if (name_at + length > static_cast<std::size_t>(n)) break;
      if ((event.mask & IN_Q_OVERFLOW) != 0) named = true;  // notices lost: look again
      if (length > 0) {
        const std::string name(buffer + name_at, ::strnlen(buffer + name_at, length));
        for (std::size_t i = 0; i < names_.size(); ++i) {
          if (names_[i] == name && folder_of_name_[i] == event.wd) named = true;
        }
      }
      at = static_cast<ssize_t>(name_at + length);
    }
  }
  return named;
}

#else

file_watch::file_watch(const std::vector<std::filesystem::path>&) {}
file_watch::~file_watch() = default;
bool file_watch::take_notices() {
  return false;
}

#endif

#ifdef _WIN32

// The C library's file times are whole seconds here; the system's own are
// tenths of a microsecond.
std::string file_stamps(const std::vector<std::filesystem::path>& files) {
  std::string stamps;
  for (const std::filesystem::path& file : files) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    stamps += file.string() + ':';
    if (::GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data) == 0) {
      stamps += "-\n";
      continue;
    }
    const auto wide = [](DWORD high, DWORD low) {
      return std::to_string((static_cast<std::uint64_t>(high) << 32) | low);
    };
    stamps += wide(data.nFileSizeHigh, data.nFileSizeLow) + ':' +
              wide(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime) + '\n';
  }
  return stamps;
}

#else

std::string file_stamps(const std::vector<std::filesystem::path>& files) {
  std::string stamps;
  for (const std::filesystem::path& file : files) {
    std::error_code size_failed, time_failed;
    const auto size = std::filesystem::file_size(file, size_failed);
    const auto time = std::filesystem::last_write_time(file, time_failed);
    stamps += file.string() + ':' + (size_failed ? std::string("-") : std::to_string(size)) + ':' +
              (time_failed ? std::string("-") : std::to_string(time.time_since_epoch().count())) +
              '\n';
  }
  return stamps;
}

#endif

}  // namespace scenario_tool::view
