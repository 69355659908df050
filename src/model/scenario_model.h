// The scenario model: every table and value that one run shares. The reader
// fills it from the two description texts, route assembly completes it and
// the compiled files are dumps of three of its tables.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/diagnostic_sink.h"
#include "model/station_entry.h"
#include "model/track_cell.h"
#include "model/track_plan.h"

namespace model {

inline constexpr int station_count = 87;   // entries 0 to 86
inline constexpr int mountain_slots = 81;  // entries 0 to 80; stretches use 1 to 80

// The longest line the reader accepts, in metres, and how far past the
// line's end the cells and the track plan run.
inline constexpr std::int32_t longest_line = 1000000;
inline constexpr std::int32_t extra_length = 7000;

// Reserved entries of the station table.
namespace entry {
inline constexpr int first_sign = 80;  // sign texts grow downwards from here
inline constexpr int reference_tre = 81;
inline constexpr int reference_due = 82;
inline constexpr int reference_uno = 83;
inline constexpr int train_data = 84;    // braked mass, line length, coaches
inline constexpr int route_header = 85;  // backgrounds, route_id, format tag, check code
inline constexpr int train_header = 86;  // signal repetition, train_number, sand, clock
}  // namespace entry

struct scenario_model {
  track_plan plan;  // `track_plan`, metres 0 to L + 7000
  std::vector<track_cell>
      track_cells;  // cells 0 to cell_count; empty until the line length is read
  std::array<station_entry, station_count> station_table{};
  std::array<std::int32_t, mountain_slots> mountain_start{};
  std::array<std::int32_t, mountain_slots> mountain_end{};
  std::int32_t mountain_count = 0;
  std::int32_t plan_flag = 0;
  std::string train_number;
  std::string route_id;
  std::string text_field;
  std::int32_t extended_length = 0;
  std::int32_t cell_count = 0;
  std::int32_t error_code = 0;
  std::int32_t error_position = 0;
  // Why the reader recorded error 25: the text, the line and the failure.
  std::string read_failure;
  // Told where each recorded error comes from; null (the installer) costs nothing.
  diagnostic_sink* diagnostics = nullptr;
  // The row the reader is reading, kept for the observer: null without one.
  row_reading* reading = nullptr;

  // Checked access: an index outside a table is a run-time failure
  // (std::out_of_range), never a write outside it.
  track_cell& cell(std::int64_t index) { return track_cells.at(checked_index(index)); }
  const track_cell& cell(std::int64_t index) const { return track_cells.at(checked_index(index)); }
  station_entry& station(std::int64_t index) { return station_table.at(checked_index(index)); }

  void record_error(std::int32_t code) {
    error_code = code;
    if (diagnostics != nullptr) diagnostics->error_recorded(code, nullptr);
  }
  void record_error(std::int32_t code, std::int32_t position) {
    error_code = code;
    error_position = position;
    if (diagnostics != nullptr) diagnostics->error_recorded(code, &position);
  }
  // The position of an error whose code was recorded just before.
  void record_error_position(std::int32_t position) {
    error_position = position;
    if (diagnostics != nullptr) diagnostics->error_position_recorded(position);
  }
  // The row being read has put an object into a cell.
  void note_filled(std::int64_t index) {
    if (diagnostics != nullptr) diagnostics->cell_filled(index);
    if (reading != nullptr) reading->cells.push_back(index);
  }
  // The row being read found `index` taken (the error follows).
  void note_taken(std::int64_t index) {
    if (reading != nullptr) reading->taken_cell = index;
  }

 private:
  static std::size_t checked_index(std::int64_t index) {
    if (index < 0) throw std::out_of_range("negative table index " + std::to_string(index));
    return static_cast<std::size_t>(index);
  }
};

}  // namespace model
