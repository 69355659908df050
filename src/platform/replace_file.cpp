#include "platform/replace_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace platform {

file_error::file_error(const std::filesystem::path& file, const std::string& action,
                       const std::string& reason)
    : std::runtime_error("cannot " + action + " " + file.string() + ": " + reason), file_(file) {}

namespace {

std::string errno_text(int err) {
  return std::generic_category().message(err);
}

// Writes a new file from the producer's pieces; the stream is closed, and the
// file removed, on every path that does not complete it.
void write_new_file(const std::filesystem::path& file,
                    const std::function<void(const byte_sink&)>& produce) {
  std::FILE* out = std::fopen(file.c_str(), "wb");
  if (out == nullptr) throw file_error(file, "create", errno_text(errno));
  int write_errno = 0;
  const byte_sink sink = [&](std::string_view piece) {
    if (write_errno == 0 && !piece.empty() &&
        std::fwrite(piece.data(), 1, piece.size(), out) != piece.size()) {
      write_errno = errno != 0 ? errno : EIO;
    }
  };
  try {
    produce(sink);
  } catch (...) {
    std::fclose(out);
    std::remove(file.c_str());
    throw;
  }
  const bool closed = std::fclose(out) == 0;
  if (write_errno != 0 || !closed) {
    const int err = write_errno != 0 ? write_errno : errno;
    std::remove(file.c_str());
    throw file_error(file, "write", errno_text(err));
  }
}

}  // namespace

void replace_file(const std::filesystem::path& file,
                  const std::function<void(const byte_sink&)>& produce) {
  std::filesystem::path temporary = file;
  temporary += ".tmp";
  write_new_file(temporary, produce);
  std::error_code ec;
  std::filesystem::rename(temporary, file, ec);
  if (ec) {
    std::filesystem::remove(temporary);
    throw file_error(file, "replace", ec.message());
  }
}

void replace_file(const std::filesystem::path& file, std::string_view bytes) {
  replace_file(file, [bytes](const byte_sink& sink) { sink(bytes); });
}

std::string read_file(const std::filesystem::path& file) {
  std::FILE* in = std::fopen(file.c_str(), "rb");
  if (in == nullptr) throw file_error(file, "open", errno_text(errno));
  std::string bytes;
  char buffer[65536];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0) bytes.append(buffer, got);
  const bool failed = std::ferror(in) != 0;
  const int err = errno;
  std::fclose(in);
  if (failed) throw file_error(file, "read", errno_text(err));
  return bytes;
}

void remove_file(const std::filesystem::path& file) {
  std::error_code ec;
  std::filesystem::remove(file, ec);
  if (ec) throw file_error(file, "delete", ec.message());
}

}  // namespace platform
