// The file primitives on Windows: wide names throughout, CREATE_NEW for
// exclusive creation, reparse points (links) never followed, FlushFileBuffers
// before a write-through replace, and LockFileEx for the folder's lock.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>
#include <thread>

#include "platform/file_system.h"

namespace platform {
namespace {

// The system's text for an error number, on one line.
std::string error_text(DWORD error) {
  char* buffer = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::string text;
  if (length != 0 && buffer != nullptr) text.assign(buffer, length);
  if (buffer != nullptr) LocalFree(buffer);
  while (!text.empty() &&
         (text.back() == '\r' || text.back() == '\n' || text.back() == ' ' || text.back() == '.')) {
    text.pop_back();
  }
  if (text.empty()) text = "error " + std::to_string(error);
  return text;
}

bool is_missing(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// A handle that is closed when it goes out of scope.
struct owned_handle {
  HANDLE h = INVALID_HANDLE_VALUE;
  owned_handle() = default;
  explicit owned_handle(HANDLE handle) : h(handle) {}
  ~owned_handle() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
  owned_handle(const owned_handle&) = delete;
  owned_handle& operator=(const owned_handle&) = delete;
  bool valid() const { return h != INVALID_HANDLE_VALUE; }
};

// The open handle refers to a plain file on a disk: not a link, a folder, a
// pipe or a device.
bool is_plain_disk_file(HANDLE h) {
  if (GetFileType(h) != FILE_TYPE_DISK) return false;
  BY_HANDLE_FILE_INFORMATION info{};
  if (GetFileInformationByHandle(h, &info) == 0) return false;
  return (info.dwFileAttributes &
          (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)) == 0;
}

}  // namespace

void prepare_process() {
  // Windows raises no signal for a closed stream or a full disk: the failed
  // write is reported where it happens.
}

struct new_file::handle {
  HANDLE h = INVALID_HANDLE_VALUE;
  std::filesystem::path known_as;
};

new_file::new_file(std::unique_ptr<handle> h) : handle_(std::move(h)) {}

new_file::~new_file() {
  if (handle_ && handle_->h != INVALID_HANDLE_VALUE) CloseHandle(handle_->h);
}

std::unique_ptr<new_file> new_file::create(const std::filesystem::path& file,
                                           const std::filesystem::path& known_as) {
  // Everything that needs memory comes first: once the file exists, nothing
  // may fail before its owner does, or it would be left behind.
  auto created = std::make_unique<handle>();
  created->known_as = known_as;
  auto owner = std::make_unique<new_file>(std::move(created));
  // CREATE_NEW fails when anything stands at the name, a link included.
  const HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) return nullptr;
    throw file_error(known_as, "create", error_text(error));
  }
  owner->handle_->h = h;
  return owner;
}

void new_file::write(std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (WriteFile(handle_->h, bytes.data(), chunk, &written, nullptr) == 0) {
      throw file_error(handle_->known_as, "write", error_text(GetLastError()));
    }
    if (written == 0) throw file_error(handle_->known_as, "write", "nothing was written");
    bytes.remove_prefix(written);
  }
}

void new_file::start_write_back() {
  // Windows writes cached data back on its own; FlushFileBuffers waits for it.
}

void new_file::close() {
  const bool closed = CloseHandle(handle_->h) != 0;
  const DWORD close_error = closed ? 0 : GetLastError();
  handle_->h = INVALID_HANDLE_VALUE;
  if (!closed) throw file_error(handle_->known_as, "write", error_text(close_error));
}

namespace {

data_flush_hook flush_hook = nullptr;

}  // namespace

void set_data_flush_hook(data_flush_hook hook) noexcept {
  flush_hook = hook;
}

void new_file::flush_and_close() {
  const DWORD refused = flush_hook != nullptr ? flush_hook(handle_->known_as) : 0;
  const bool flushed = refused == 0 && FlushFileBuffers(handle_->h) != 0;
  const DWORD flush_error = flushed ? 0 : refused != 0 ? refused : GetLastError();
  const bool closed = CloseHandle(handle_->h) != 0;
  const DWORD close_error = closed ? 0 : GetLastError();
  handle_->h = INVALID_HANDLE_VALUE;
  if (!flushed) throw file_error(handle_->known_as, "write", error_text(flush_error));
  if (!closed) throw file_error(handle_->known_as, "write", error_text(close_error));
}

bool add_second_name(const std::filesystem::path&, const std::filesystem::path&) noexcept {
  // Each rename is write-through here already; a second name would save
  // little and cost a call.
  return false;
}

void rename_over(const std::filesystem::path& from, const std::filesystem::path& to, bool lasting) {
  // Write-through for a file that must last: the call returns once the rename
  // is on the disk, which makes it the folder's flush too.
  const DWORD flags = MOVEFILE_REPLACE_EXISTING | (lasting ? MOVEFILE_WRITE_THROUGH : 0);
  if (MoveFileExW(from.c_str(), to.c_str(), flags) == 0) {
    throw file_error(to, "replace", error_text(GetLastError()));
  }
}

void flush_folder(const std::filesystem::path&, const std::filesystem::path&) {
  // The write-through rename has already put the folder's entry on the disk.
}

std::string read_whole_file(const std::filesystem::path& file, const read_bound& bound) {
  owned_handle in(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!in.valid()) {
    const DWORD error = GetLastError();
    throw file_error(file, "open", error_text(error), is_missing(error));
  }
  if (!is_plain_disk_file(in.h)) throw file_error(file, "read", "it is not a regular file");
  std::string bytes;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(in.h, &size) != 0 && size.QuadPart > 0) {
    if (static_cast<std::uint64_t>(size.QuadPart) > bound.largest) {
      throw file_error(file, "read",
                       too_large_reason(static_cast<std::uint64_t>(size.QuadPart), bound));
    }
    bytes.reserve(static_cast<std::size_t>(size.QuadPart));
  }
  char buffer[65536];
  for (;;) {
    DWORD got = 0;
    if (ReadFile(in.h, buffer, sizeof buffer, &got, nullptr) == 0) {
      throw file_error(file, "read", error_text(GetLastError()));
    }
    if (got == 0) break;
    if (got > bound.largest - bytes.size()) {
      throw file_error(file, "read", too_large_reason(bytes.size() + got, bound));
    }
    bytes.append(buffer, got);
  }
  return bytes;
}

std::vector<std::filesystem::path> folder_entries(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> names;
  const std::filesystem::path pattern = folder / L"*";
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return names;
    throw file_error(folder, "list", error_text(error));
  }
  struct closer {
    HANDLE search;
    ~closer() { FindClose(search); }
  } close_on_exit{search};
  do {
    const std::wstring_view name = found.cFileName;
    if (name != L"." && name != L"..") names.emplace_back(std::wstring(name));
  } while (FindNextFileW(search, &found) != 0);
  const DWORD error = GetLastError();
  if (error != ERROR_NO_MORE_FILES) throw file_error(folder, "list", error_text(error));
  return names;
}

void remove_file(const std::filesystem::path& file) {
  if (DeleteFileW(file.c_str()) == 0) {
    const DWORD error = GetLastError();
    if (!is_missing(error)) throw file_error(file, "delete", error_text(error));
  }
}

struct folder_lock::handle {
  HANDLE h = INVALID_HANDLE_VALUE;
};

folder_lock::folder_lock(std::unique_ptr<handle> h) : handle_(std::move(h)) {}
folder_lock::folder_lock(folder_lock&&) noexcept = default;
folder_lock& folder_lock::operator=(folder_lock&&) noexcept = default;

folder_lock::~folder_lock() {
  // Closing the handle lets the lock go.
  if (handle_ && handle_->h != INVALID_HANDLE_VALUE) CloseHandle(handle_->h);
}

folder_lock lock_folder(const std::filesystem::path& lock_file, std::chrono::milliseconds wait) {
  auto held = std::make_unique<folder_lock::handle>();
  folder_lock::handle& owned = *held;
  folder_lock lock(std::move(held));
  // Opened for reading only, which is all LockFileEx needs: a lock file that
  // a run of another user left behind is taken as well.
  const HANDLE h = CreateFileW(
      lock_file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (h == INVALID_HANDLE_VALUE) throw file_error(lock_file, "lock", error_text(GetLastError()));
  owned.h = h;
  if (!is_plain_disk_file(h)) throw file_error(lock_file, "lock", "it is not a regular file");

  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    OVERLAPPED at{};
    if (LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at) != 0) {
      return lock;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_LOCK_VIOLATION && error != ERROR_IO_PENDING) {
      throw file_error(lock_file, "lock", error_text(error));
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      throw folder_busy(lock_file.parent_path(), wait);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

}  // namespace platform
