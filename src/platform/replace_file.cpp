#include "platform/replace_file.h"

#include <cstdint>
#include <random>
#include <stdexcept>
#include <system_error>
#include <utility>

namespace platform {
namespace {

// A file's name for a message, in UTF-8 whatever the folder's characters
// (on Windows a narrow string() would fail outside the ANSI code page).
std::string display_name(const std::filesystem::path& file) {
  const std::u8string name = file.u8string();
  return std::string(name.begin(), name.end());
}

}  // namespace

file_error::file_error(const std::filesystem::path& file, const std::string& action,
                       const std::string& reason, bool missing)
    : std::runtime_error("cannot " + action + " " + display_name(file) + ": " + reason),
      file_(file),
      missing_(missing) {}

namespace {

std::string duration_text(std::chrono::milliseconds time) {
  const auto count = time.count();
  if (count % 1000 != 0) {
    return std::to_string(count) + (count == 1 ? " millisecond" : " milliseconds");
  }
  return std::to_string(count / 1000) + (count == 1000 ? " second" : " seconds");
}

}  // namespace

folder_busy::folder_busy(const std::filesystem::path& folder, std::chrono::milliseconds waited)
    : std::runtime_error("another installation is running in " + display_name(folder) +
                         ": waited " + duration_text(waited) + " for it to end") {}

std::filesystem::path temporary_name(const std::filesystem::path& file) {
  // A name that no run of this program has used, nor will: 64 random bits.
  static std::mt19937_64 generator = [] {
    std::random_device device;
    std::seed_seq seed{device(), device(), device(), device()};
    return std::mt19937_64(seed);
  }();
  static constexpr char digits[] = "0123456789abcdef";
  std::uint64_t bits = generator();
  std::string suffix(16, '0');
  for (char& c : suffix) {
    c = digits[bits & 0xF];
    bits >>= 4;
  }
  std::filesystem::path name = file;
  name += "." + suffix + ".tmp";
  return name;
}

namespace {

// `name` is `own_name` followed by the suffix that temporary_name adds.
bool is_temporary_of(const std::string& name, const std::string& own_name) {
  constexpr std::size_t suffix_size = 1 + 16 + 4;  // ".", 16 hex digits, ".tmp"
  if (name.size() != own_name.size() + suffix_size || !name.starts_with(own_name) ||
      !name.ends_with(".tmp") || name[own_name.size()] != '.') {
    return false;
  }
  for (std::size_t i = own_name.size() + 1; i < own_name.size() + 17; ++i) {
    const char c = name[i];
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

}  // namespace

void remove_leftover_temporaries(const std::filesystem::path& folder,
                                 const std::vector<std::string>& own_names) {
  std::vector<std::filesystem::path> names;
  try {
    names = folder_entries(folder);
  } catch (const file_error&) {
    return;  // a folder that may be written but not listed keeps its leftovers
  }
  for (const std::filesystem::path& entry : names) {
    try {
      // Compared in UTF-8, which holds every name on every platform.
      const std::u8string utf8 = entry.u8string();
      const std::string name(utf8.begin(), utf8.end());
      for (const std::string& own_name : own_names) {
        if (is_temporary_of(name, own_name)) {
          remove_file(folder / entry);
          break;
        }
      }
    } catch (const file_error&) {
      // Left in place: its name is never drawn again.
    } catch (const std::system_error&) {
    }
  }
}

namespace {

// A new temporary file beside `file`. A name already taken (a file left by a
// killed run, or anything planted there) is never opened: another name is
// drawn.
std::pair<std::filesystem::path, std::unique_ptr<new_file>> create_temporary(
    const std::filesystem::path& file) {
  for (int attempt = 0; attempt < 16; ++attempt) {
    std::filesystem::path name = temporary_name(file);
    if (auto created = new_file::create(name, file)) return {std::move(name), std::move(created)};
  }
  throw file_error(file, "create", "every temporary name tried beside it was taken");
}

}  // namespace

void remove_file_quietly(const std::filesystem::path& file) noexcept {
  try {
    if (!file.empty()) remove_file(file);
  } catch (...) {
  }
}

namespace {

// The batch that lasting replacements leave their folder flush to, if one is open.
folder_flush_batch* open_batch = nullptr;

}  // namespace

folder_flush_batch::folder_flush_batch() {
  if (open_batch != nullptr) throw std::logic_error("a folder flush batch is already open");
  open_batch = this;
}

folder_flush_batch::~folder_flush_batch() {
  open_batch = nullptr;
}

void folder_flush_batch::renamed(std::filesystem::path&& folder, std::filesystem::path&& file) {
  // Every file of a run lies in one folder; should another folder come, the
  // one before is flushed first, so that no rename goes unflushed. Comparing
  // and moving the names takes no memory: the file is already in place.
  if (!last_renamed_.empty() && folder_.native() != folder.native()) flush();
  folder_ = std::move(folder);
  last_renamed_ = std::move(file);
}

void folder_flush_batch::flush() {
  if (last_renamed_.empty()) return;
  const std::filesystem::path folder = std::move(folder_);
  const std::filesystem::path last = std::move(last_renamed_);
  folder_.clear();
  last_renamed_.clear();
  flush_folder(folder, last);
}

void replace_file(const std::filesystem::path& file,
                  const std::function<void(const byte_sink&)>& produce, durability kind) {
  const bool lasting = kind == durability::lasting;
  // Taken before the rename: after it, with the file in place, only a real
  // failure of the folder's flush may stop the run, never memory running out.
  std::filesystem::path folder = file.parent_path();
  std::filesystem::path renamed_file =
      lasting && open_batch != nullptr ? file : std::filesystem::path();
  // Named variables, not a structured binding: the sink below captures `out`.
  auto created = create_temporary(file);
  const std::filesystem::path temporary = std::move(created.first);
  std::unique_ptr<new_file> out = std::move(created.second);
  try {
    // Each piece of a lasting file starts on its way to the disk while the
    // next is made; the flush then waits only for the rest.
    const byte_sink sink = [&out, lasting](std::string_view piece) {
      if (piece.empty()) return;
      out->write(piece);
      if (lasting) out->start_write_back();
    };
    produce(sink);
    if (lasting) {
      out->flush_and_close();
    } else {
      out->close();
    }
    out.reset();
    rename_over(temporary, file, lasting);
  } catch (...) {
    out.reset();
    remove_file_quietly(temporary);
    throw;
  }
  if (!lasting) return;
  if (open_batch != nullptr) {
    open_batch->renamed(std::move(folder), std::move(renamed_file));
  } else {
    flush_folder(folder, file);
  }
}

void replace_file(const std::filesystem::path& file, std::string_view bytes, durability kind) {
  replace_file(
      file, [bytes](const byte_sink& sink) { sink(bytes); }, kind);
}

std::string read_file(const std::filesystem::path& file) {
  return read_whole_file(file);
}

std::string read_file(const std::filesystem::path& file, const read_bound& bound) {
  return read_whole_file(file, bound);
}

std::string too_large_reason(std::uint64_t size, const read_bound& bound) {
  return "it holds " + std::to_string(size) + " bytes; " + std::string(bound.what) +
         " holds at most " + std::to_string(bound.largest);
}

}  // namespace platform
