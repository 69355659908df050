// The burst that puts a run's staged files in place all together, and its
// completion by the next run when a kill or a power cut interrupted it.
#include <chrono>
#include <stdexcept>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "model/file_names.h"
#include "platform/replace_file.h"

namespace platform {
namespace {

folder_flush_batch* open_batch = nullptr;
double burst_microseconds = 0;

constexpr std::string_view record_start = "scenari.";
constexpr std::string_view record_end = ".commit";
constexpr std::size_t digit_count = model::temporary_digit_count;

bool all_hex_digits(std::string_view text) {
  if (text.size() != digit_count) return false;
  for (const char c : text) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

std::string utf8_name(const std::filesystem::path& entry) {
  const std::u8string name = entry.u8string();
  return std::string(name.begin(), name.end());
}

std::filesystem::path from_utf8(std::string_view name) {
  return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

// The digits of an intent record's name, or an empty view.
std::string_view record_digits(std::string_view name) {
  if (name.size() != record_start.size() + digit_count + record_end.size() ||
      !name.starts_with(record_start) || !name.ends_with(record_end)) {
    return {};
  }
  const std::string_view digits = name.substr(record_start.size(), digit_count);
  return all_hex_digits(digits) ? digits : std::string_view();
}

// `name` is a file's own name followed by "." + digits + `ending`; returns the
// file's own name, or an empty view.
std::string_view staged_file_of(std::string_view name, std::string_view digits,
                                std::string_view ending) {
  const std::size_t suffix = 1 + digits.size() + ending.size();
  if (name.size() <= suffix || !name.ends_with(ending)) return {};
  const std::string_view own = name.substr(0, name.size() - suffix);
  const std::string_view middle = name.substr(own.size(), 1 + digits.size());
  if (middle[0] != '.' || middle.substr(1) != digits) return {};
  // No run stages a file named after the folder itself or its parent.
  if (own == "." || own == "..") return {};
  return own;
}

std::filesystem::path record_name(const std::filesystem::path& folder, const std::string& digits) {
  return folder / from_utf8(std::string(record_start) + digits + std::string(record_end));
}

std::filesystem::path mark_name(const std::filesystem::path& file, const std::string& digits) {
  std::filesystem::path mark = file;
  mark += "." + digits + ".gone";
  return mark;
}

// The second name an earlier file keeps through the burst.
std::filesystem::path kept_name(const std::filesystem::path& file, const std::string& digits) {
  std::filesystem::path kept = file;
  kept += "." + digits + ".old";
  return kept;
}

// Creates an empty file that must not exist yet; its entry is made to last by
// the folder flush that follows.
void create_empty(const std::filesystem::path& file) {
  std::unique_ptr<new_file> created = new_file::create(file, file);
  if (!created) throw file_error(file, "create", "a file of that name already exists");
  created->close();
}

std::filesystem::file_type type_at(const std::filesystem::path& file) {
  std::error_code error;
  const auto status = std::filesystem::symlink_status(file, error);
  return error ? std::filesystem::file_type::not_found : status.type();
}

file_error folder_in_the_way(const std::filesystem::path& file) {
  return file_error(file, "replace", std::make_error_code(std::errc::is_a_directory).message());
}

}  // namespace

double last_burst_microseconds() noexcept {
  return burst_microseconds;
}

folder_flush_batch* open_folder_flush_batch() noexcept {
  return open_batch;
}

folder_flush_batch::folder_flush_batch() {
  if (open_batch != nullptr) throw std::logic_error("a folder flush batch is already open");
  digits_ = random_name_digits();
  suffix_ = model::temporary_suffix(digits_);
  open_batch = this;
}

folder_flush_batch::~folder_flush_batch() {
  discard();
  open_batch = nullptr;
}

void folder_flush_batch::discard() noexcept {
  for (staged_file& staged : staged_) {
    staged.open.reset();
    remove_file_quietly(staged.temporary);
  }
  staged_.clear();
  removals_.clear();
}

void folder_flush_batch::stage(std::filesystem::path&& temporary, const std::filesystem::path& file,
                               std::unique_ptr<new_file>& open) {
  if (!staged_.empty() && staged_.front().file.parent_path() != file.parent_path()) {
    throw std::logic_error("a folder flush batch stages the files of one folder");
  }
  staged_.reserve(staged_.size() + 1);
  staged_file entry{std::filesystem::path(), file, nullptr};
  entry.temporary = std::move(temporary);
  entry.open = std::move(open);
  staged_.push_back(std::move(entry));
}

void folder_flush_batch::remove_in_burst(const std::filesystem::path& file) {
  removals_.push_back(file);
}

void folder_flush_batch::draw_new_digits() {
  std::string digits = random_name_digits();
  std::string suffix = model::temporary_suffix(digits);
  for (staged_file& staged : staged_) {
    std::filesystem::path renamed = staged.file;
    renamed += suffix;
    rename_over(staged.temporary, renamed, false);
    staged.temporary = std::move(renamed);
  }
  digits_ = std::move(digits);
  suffix_ = std::move(suffix);
}

void folder_flush_batch::flush() {
  if (staged_.empty() && removals_.empty()) return;
  const std::filesystem::path folder =
      !staged_.empty() ? staged_.front().file.parent_path() : removals_.front().parent_path();
  // Every name the burst needs is made before it: the burst itself needs no
  // memory.
  const std::filesystem::path record = record_name(folder, digits_);
  std::vector<std::pair<std::filesystem::path, std::filesystem::path>> marked;
  for (const std::filesystem::path& file : removals_) {
    if (type_at(file) != std::filesystem::file_type::not_found) {
      marked.emplace_back(file, mark_name(file, digits_));
    }
  }
  const std::filesystem::path& last = !staged_.empty() ? staged_.back().file : removals_.back();
  // Each earlier file keeps a second name through the burst, so that a
  // rename over it frees nothing: freeing a large file's blocks takes longer
  // than the rename itself and is left until after the burst. An empty name:
  // none kept.
  std::vector<std::filesystem::path> kept;
  kept.reserve(staged_.size());
  for (const staged_file& file : staged_) kept.push_back(kept_name(file.file, digits_));
  const auto drop_kept = [&kept]() noexcept {
    for (const std::filesystem::path& name : kept) remove_file_quietly(name);
  };

  // The intent: made to last, with the temporaries, before any rename can.
  try {
    for (staged_file& file : staged_) {
      file.open->flush_and_close();
      file.open.reset();
    }
    // A folder standing at a file's name would stop the burst halfway: it is
    // refused before the burst begins.
    for (const std::filesystem::path& file : removals_) {
      if (type_at(file) == std::filesystem::file_type::directory) throw folder_in_the_way(file);
    }
    for (const staged_file& file : staged_) {
      if (type_at(file.file) == std::filesystem::file_type::directory) {
        throw folder_in_the_way(file.file);
      }
    }
    for (std::size_t i = 0; i < staged_.size(); ++i) {
      if (!add_second_name(staged_[i].file, kept[i])) kept[i].clear();
    }
    for (const auto& [file, mark] : marked) create_empty(mark);
    create_empty(record);
    flush_folder(folder, last);
  } catch (...) {
    for (const auto& [file, mark] : marked) remove_file_quietly(mark);
    remove_file_quietly(record);
    drop_kept();
    discard();
    throw;
  }

  // The burst. From here the staged files belong to the record: a failure
  // leaves them for the next run to put in place.
  std::vector<staged_file> staged = std::move(staged_);
  staged_.clear();
  removals_.clear();
  const auto start = std::chrono::steady_clock::now();
  std::size_t renamed = 0;
  try {
    for (const staged_file& file : staged) {
      rename_over(file.temporary, file.file, true);
      ++renamed;
    }
  } catch (...) {
    // Refused at the first rename, the burst changed nothing yet: it is
    // dropped whole and every file stays as it was.
    if (renamed == 0) {
      for (const staged_file& file : staged) remove_file_quietly(file.temporary);
      for (const auto& [file, mark] : marked) remove_file_quietly(mark);
      remove_file_quietly(record);
      drop_kept();
    }
    throw;
  }
  for (const auto& [file, mark] : marked) {
    remove_file(file);
    remove_file(mark);
  }
  burst_microseconds =
      std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
  flush_folder(folder, last);
  remove_file_quietly(record);
  // The earlier files' blocks are freed now, after the burst.
  drop_kept();
}

void complete_interrupted_burst(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> entries;
  try {
    entries = folder_entries(folder);
  } catch (const file_error&) {
    return;  // a folder that may be written but not listed: no run could leave a record there
  }
  std::vector<std::string> names;
  names.reserve(entries.size());
  for (const std::filesystem::path& entry : entries) names.push_back(utf8_name(entry));
  for (const std::string& record : names) {
    const std::string_view digits = record_digits(record);
    if (digits.empty()) continue;
    for (const std::string& name : names) {
      if (const std::string_view own = staged_file_of(name, digits, model::temporary_ending);
          !own.empty()) {
        rename_over(folder / from_utf8(name), folder / from_utf8(own), true);
      } else if (const std::string_view marked = staged_file_of(name, digits, ".gone");
                 !marked.empty()) {
        remove_file(folder / from_utf8(marked));
        remove_file(folder / from_utf8(name));
      } else if (!staged_file_of(name, digits, ".old").empty()) {
        remove_file(folder / from_utf8(name));  // an earlier file's second name
      }
    }
    flush_folder(folder, folder / from_utf8(record));
    remove_file(folder / from_utf8(record));
  }
}

}  // namespace platform
