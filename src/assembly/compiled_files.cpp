#include "assembly/compiled_files.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <stdexcept>

#include "driver/Form1.h"
#include "model/conversions.h"
#include "platform/replace_file.h"

namespace assembly {

void append_cell_record(le_writer& out, const model::track_cell& cell) {
  out.u8(cell.kind);
  out.i16(cell.value);
  out.i16(cell.value2);
  out.i16(cell.value3);
  out.i16(cell.value4);
  out.u8(cell.signal_time);
  out.u8(cell.approach);
  out.u8(cell.mountain);
  out.u8(cell.speed_limit);
  out.u8(cell.gradient);
  out.u8(cell.adhesion);
}

void append_station_record(le_writer& out, const model::station_entry& entry) {
  out.u8(entry.kind);
  out.i32(entry.start);
  out.i32(entry.end);
  out.i32(entry.position);
  out.u8(entry.flag_a);
  out.text16(entry.name);
  out.i16(entry.group1_a);
  out.i16(entry.group1_b);
  out.i16(entry.group2_a);
  out.i16(entry.group2_b);
  out.i16(entry.group2_c);
  out.u8(entry.group1_c);
  out.u8(entry.stop);
  out.u8(entry.end_shift);
  out.u8(entry.flag_b);
  out.i32(entry.time);
}

namespace {}  // namespace

void write_plan_bytes(const model::track_plan& plan, const platform::byte_sink& sink) {
  if (!plan.exists()) return;
  // The plan is the largest file by far: it goes out in pieces of about
  // 1 MiB, never whole in memory.
  constexpr std::size_t piece_size = 1 << 20;
  constexpr std::size_t widest_element = 2 + 8;
  std::string piece(piece_size, '\0');
  char* const begin = piece.data();
  char* at = begin;
  // The elements are held in file order already.
  for (std::size_t i = 0; i < plan.element_count(); ++i) {
    if (static_cast<std::size_t>(at - begin) > piece_size - widest_element) {
      sink(std::string_view(begin, static_cast<std::size_t>(at - begin)));
      at = begin;
    }
    const model::plan_tag tag = plan.tag(i);
    at = put_le<2>(at, static_cast<std::uint16_t>(tag));
    switch (tag) {
      case model::plan_tag::empty:
        break;
      case model::plan_tag::short_int:
        at = put_le<2>(at, static_cast<std::uint16_t>(model::round_to_short(plan.value(i))));
        break;
      case model::plan_tag::real:
        at = put_le<8>(at, std::bit_cast<std::uint64_t>(plan.value(i)));
        break;
    }
  }
  sink(std::string_view(begin, static_cast<std::size_t>(at - begin)));
}

std::string plan_file_bytes(const model::track_plan& plan) {
  std::string bytes;
  write_plan_bytes(plan, [&bytes](std::string_view piece) { bytes.append(piece); });
  return bytes;
}

std::string station_file_bytes(
    const std::array<model::station_entry, model::station_count>& table) {
  std::string bytes;
  le_writer out(bytes);
  for (const model::station_entry& entry : table) append_station_record(out, entry);
  return bytes;
}

std::string cell_file_bytes(const std::vector<model::track_cell>& cells) {
  std::string bytes;
  bytes.reserve(cells.size() * cell_record_size);
  le_writer out(bytes);
  for (const model::track_cell& cell : cells) append_cell_record(out, cell);
  return bytes;
}

std::string plan_file_name(const model::scenario_model& model) {
  return model.route_id + "_linea.dat";
}
std::string station_file_name(const model::scenario_model& model) {
  return model.route_id + "_" + model.train_number + ".sim";
}
std::string cell_file_name(const model::scenario_model& model) {
  return model.route_id + "_" + model.train_number + ".dat";
}

void write_compiled_files(Form1& form) {
  const model::scenario_model& model = form.model;
  if (model.plan_flag != 0) {
    // The reader builds the plan together with the cells whenever plan_flag
    // is set; writing an empty plan file would hide a reader fault.
    if (!model.plan.exists()) {
      throw std::logic_error("the track plan is to be written but the reader built none");
    }
    platform::replace_file(
        form.nome_file(plan_file_name(model)),
        [&](const platform::byte_sink& sink) { write_plan_bytes(model.plan, sink); });
  }
  platform::replace_file(form.nome_file(station_file_name(model)),
                         station_file_bytes(model.station_table));
  platform::replace_file(form.nome_file(cell_file_name(model)), cell_file_bytes(model.track_cells));
}

}  // namespace assembly
