#include "scenari/text_writer.h"

#include "platform/replace_file.h"

namespace scenari {

std::string render_lines(const line_list& lines) {
  std::string bytes;
  for (const std::string_view line : lines) {
    if (line == end_marker) break;
    bytes.append(line);
    bytes.append("\r\n");
  }
  return bytes;
}

std::string write_line_list(const std::filesystem::path& file, const line_list& lines,
                            platform::durability kind) {
  std::string bytes = render_lines(lines);
  platform::replace_file(file, bytes, kind);
  return bytes;
}

void write_recorded_text(std::map<std::filesystem::path, std::string>& written,
                         const std::filesystem::path& file, std::string_view bytes) {
  std::string& record = written[file];
  try {
    record.assign(bytes);
    platform::replace_file(file, record, platform::durability::read_back);
  } catch (...) {
    written.erase(file);
    throw;
  }
}

void write_recorded_text(std::map<std::filesystem::path, std::string>& written,
                         const std::filesystem::path& file, const line_list& lines) {
  write_recorded_text(written, file, render_lines(lines));
}

void write_text(const std::filesystem::path& file, std::string_view bytes) {
  platform::replace_file(file, bytes);
}

}  // namespace scenari
