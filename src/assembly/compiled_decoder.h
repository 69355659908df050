// Reads the three compiled scenario files back into the model's records:
// the track plan, the station table and the track cells, the other half of
// compiled_files.h, by the same record layouts. Any bytes give either the
// records or a decode_error that names the byte offset, the record and the
// field where the file ends or goes wrong.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "model/scenario_model.h"

namespace assembly {

enum class file_kind { plan, stations, cells };

// "track plan", "station table", "track cells".
std::string_view describe(file_kind kind);
// The kind a compiled file's name ends with (model/file_names.h): "_linea.dat"
// the plan, ".sim" the station table, any other ".dat" the cells.
std::optional<file_kind> kind_from_name(const std::filesystem::path& file);
// Plan file size of a line of `line_length` metres: 20 x L + 139964 bytes.
std::int64_t plan_file_size(std::int64_t line_length);
// Highest cell index of a line of `line_length` metres.
std::int32_t last_cell_of_line(std::int64_t line_length);
// The largest file of a kind that can decode: the plan and the cells of the
// longest line, a station table whose every text is as long as its length
// field allows. A larger file is refused before it is read.
std::uint64_t largest_file_size(file_kind kind);

class decode_error : public std::runtime_error {
 public:
  decode_error(std::size_t offset, const std::string& message)
      : std::runtime_error(message), offset_(offset) {}
  std::size_t offset() const { return offset_; }

 private:
  std::size_t offset_;
};

struct decoded_file {
  file_kind kind = file_kind::cells;
  std::size_t size = 0;
  std::vector<model::track_cell> cells;        // track cells: one per record
  std::vector<model::station_entry> stations;  // station table: entries 0 to 86
  model::track_plan plan;                      // track plan: metres 0 to L + 7000
  std::int32_t line_length = 0;                // track plan: L, from the file's size
};

// Throws decode_error when the bytes are not a file of that kind.
decoded_file decode(file_kind kind, std::string_view bytes);

// Reads and decodes a compiled file; throws platform::file_error when it
// cannot be read or is larger than any file of `kind` (without reading it),
// and decode_error when its bytes are not a file of `kind`.
decoded_file read_compiled_file(const std::filesystem::path& file, file_kind kind);

}  // namespace assembly
