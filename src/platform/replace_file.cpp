#include "platform/replace_file.h"

#include <cstdint>
#include <random>
#include <stdexcept>
#include <system_error>
#include <utility>

#include "model/file_names.h"

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

std::string random_name_digits() {
  static std::mt19937_64 generator = [] {
    std::random_device device;
    std::seed_seq seed{device(), device(), device(), device()};
    return std::mt19937_64(seed);
  }();
  static constexpr char digits[] = "0123456789abcdef";
  std::uint64_t bits = generator();
  // 64 bits make 16 hex digits.
  static_assert(model::temporary_digit_count == 16);
  std::string text(model::temporary_digit_count, '0');
  for (char& c : text) {
    c = digits[bits & 0xF];
    bits >>= 4;
  }
  return text;
}

std::filesystem::path temporary_name(const std::filesystem::path& file) {
  std::filesystem::path name = file;
  name += model::temporary_suffix(random_name_digits());
  return name;
}

namespace {

// `name` is `own_name` followed by the suffix that temporary_name adds, or
// by the same digits and ".old" (an earlier file's second name kept through a
// burst) or ".gone" (the mark of a file a burst deletes).
bool is_temporary_of(const std::string& name, const std::string& own_name) {
  constexpr std::size_t suffix_size = model::temporary_suffix_size;
  const bool temporary = name.size() == own_name.size() + suffix_size &&
                         (name.ends_with(model::temporary_ending) || name.ends_with(".old"));
  const bool mark = name.size() == own_name.size() + suffix_size + 1 && name.ends_with(".gone");
  if (!(temporary || mark) || !name.starts_with(own_name) || name[own_name.size()] != '.') {
    return false;
  }
  for (std::size_t i = own_name.size() + 1; i < own_name.size() + 1 + model::temporary_digit_count;
       ++i) {
    const char c = name[i];
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

}  // namespace

void remove_leftover_temporaries(const std::filesystem::path& folder,
                                 const std::vector<std::string>& own_names) {
  complete_interrupted_burst(folder);
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

// The same for a file staged in `batch`: its name carries the batch's digits;
// when it is taken, the batch draws new ones.
std::pair<std::filesystem::path, std::unique_ptr<new_file>> create_staged_temporary(
    folder_flush_batch& batch, const std::filesystem::path& file) {
  for (int attempt = 0; attempt < 16; ++attempt) {
    std::filesystem::path name = file;
    name += batch.temporary_suffix();
    if (auto created = new_file::create(name, file)) return {std::move(name), std::move(created)};
    batch.draw_new_digits();
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

void replace_file(const std::filesystem::path& file,
                  const std::function<void(const byte_sink&)>& produce, durability kind) {
  const bool lasting = kind == durability::lasting;
  folder_flush_batch* const batch = lasting ? open_folder_flush_batch() : nullptr;
  // Named variables, not a structured binding: the sink below captures `out`.
  auto created = batch != nullptr ? create_staged_temporary(*batch, file) : create_temporary(file);
  std::filesystem::path temporary = std::move(created.first);
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
    // In a batch the file waits, open, for the burst, which flushes it,
    // renames it and flushes the folder.
    if (batch != nullptr) return batch->stage(std::move(temporary), file, out);
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
  if (lasting) flush_folder(file.parent_path(), file);
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
