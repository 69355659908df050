// The three compiled scenario files that the simulator loads: the track plan,
// the station table and the track cells, each a plain dump of its table in
// index order, little-endian, field after field, with no header and no gaps.
#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "assembly/record_layouts.h"
#include "model/little_endian.h"
#include "model/scenario_model.h"
#include "platform/replace_file.h"

namespace assembly {

// The records' fields and their order are those of record_layouts.h.
inline constexpr std::size_t cell_record_size = fixed_record_size<model::track_cell>();
// A station record is this many bytes plus the length of its name.
inline constexpr std::size_t station_record_fixed_size = fixed_record_size<model::station_entry>();

void append_cell_record(model::le_writer& out, const model::track_cell& cell);
void append_station_record(model::le_writer& out, const model::station_entry& entry);

// The plan: every element tagged as plan_element_layout describes, all x
// values of metres 0 to the last, then all y values.
std::string plan_file_bytes(const model::track_plan& plan);
// The same bytes, handed to `sink` piece by piece.
void write_plan_bytes(const model::track_plan& plan, const platform::byte_sink& sink);
std::string station_file_bytes(const std::array<model::station_entry, model::station_count>& table);
std::string cell_file_bytes(const std::vector<model::track_cell>& cells);

// Writes the plan (only when plan_flag is not 0), the station table and the
// cells, in that order, each replacing any older file of its name whole.
// `path_of` gives the path of each own name (model/file_names.h).
void write_compiled_files(
    const model::scenario_model& model,
    const std::function<std::filesystem::path(const std::string& own_name)>& path_of);

}  // namespace assembly
