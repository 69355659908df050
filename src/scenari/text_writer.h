// The shared writer of the scenario's texts and driver documents: a list of
// lines, closed by the end marker, written as single-byte lines ended by CR LF.
#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>

#include "platform/replace_file.h"

namespace scenari {

// Room for 1001 lines (positions 0 to 1000), as every writer of the scenario uses.
inline constexpr std::size_t line_list_size = 1001;

// Stands right after the last line of every list; never written.
inline constexpr std::string_view end_marker = "riferimento fine del file";

// One line per entry, without its line end, in file order, then the end marker.
// The texts are the file's own bytes (Windows-1252), so non-ASCII characters
// are written as escapes such as "\xB0".
using line_list = std::array<std::string_view, line_list_size>;

// The bytes of the file: every line up to, not including, the first entry equal
// to the end marker (compared exactly, with case), each followed by CR LF. A
// list without its marker stops at the end of the list.
std::string render_lines(const line_list& lines);

// Replaces `file` as a whole with the rendered lines; a missing file is no error.
// Returns the bytes written.
std::string write_line_list(const std::filesystem::path& file, const line_list& lines,
                            platform::durability kind = platform::durability::lasting);

// The same for a text the run reads back and deletes (so never flushed to the
// disk), its bytes recorded in `written` by file. The record is made before
// the file is written and dropped if the write fails, so that memory running
// out cannot leave the text in the folder without its record.
void write_recorded_text(std::map<std::filesystem::path, std::string>& written,
                         const std::filesystem::path& file, const line_list& lines);

// The same for a text carried whole, byte for byte (a packaged installer's).
void write_recorded_text(std::map<std::filesystem::path, std::string>& written,
                         const std::filesystem::path& file, std::string_view bytes);

// Replaces `file` as a whole with a document carried whole, byte for byte (a
// packaged installer's).
void write_text(const std::filesystem::path& file, std::string_view bytes);

}  // namespace scenari
