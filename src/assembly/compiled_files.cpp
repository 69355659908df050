#include "assembly/compiled_files.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <type_traits>

#include "model/conversions.h"
#include "model/file_names.h"
#include "platform/replace_file.h"

namespace assembly {

namespace {

// Appends the fields of `record` one after the other, as its layout lists them.
template <typename Record>
void append_record(model::le_writer& out, const Record& record) {
  for_each_field<Record>([&](const auto& f) {
    if constexpr (std::decay_t<decltype(f)>::is_text) {
      out.text16(record.*f.member);
    } else {
      out.number(record.*f.member);
    }
  });
}

}  // namespace

void append_cell_record(model::le_writer& out, const model::track_cell& cell) {
  append_record(out, cell);
}

void append_station_record(model::le_writer& out, const model::station_entry& entry) {
  append_record(out, entry);
}

void write_plan_bytes(const model::track_plan& plan, const platform::byte_sink& sink) {
  if (!plan.exists()) return;
  // The plan is the largest file by far: it goes out in pieces of about
  // 1 MiB, never whole in memory; a smaller plan needs a smaller piece.
  constexpr std::size_t widest_element = plan_element_layout::widest();
  constexpr std::size_t tag_width = plan_element_layout::tag_width;
  constexpr std::size_t short_width =
      plan_element_layout::form_of(model::plan_tag::short_int).value_width;
  constexpr std::size_t double_width =
      plan_element_layout::form_of(model::plan_tag::real).value_width;
  const std::size_t piece_size =
      std::min<std::size_t>(std::size_t{1} << 20, plan.element_count() * widest_element);
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
    at = model::put_le<tag_width>(at, static_cast<std::uint16_t>(tag));
    switch (tag) {
      case model::plan_tag::empty:
        break;
      case model::plan_tag::short_int:
        at = model::put_le<short_width>(
            at, static_cast<std::uint16_t>(model::round_to_short(plan.value(i))));
        break;
      case model::plan_tag::real:
        at = model::put_le<double_width>(at, std::bit_cast<std::uint64_t>(plan.value(i)));
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
  model::le_writer out(bytes);
  for (const model::station_entry& entry : table) append_station_record(out, entry);
  return bytes;
}

std::string cell_file_bytes(const std::vector<model::track_cell>& cells) {
  std::string bytes;
  bytes.reserve(cells.size() * cell_record_size);
  model::le_writer out(bytes);
  for (const model::track_cell& cell : cells) append_cell_record(out, cell);
  return bytes;
}

void write_compiled_files(
    const model::scenario_model& model,
    const std::function<std::filesystem::path(const std::string& own_name)>& path_of) {
  if (model.plan_flag != 0) {
    // The reader builds the plan together with the cells whenever plan_flag
    // is set; writing an empty plan file would hide a reader fault.
    if (!model.plan.exists()) {
      throw std::logic_error("the track plan is to be written but the reader built none");
    }
    platform::replace_file(
        path_of(model::file_name(model, model::scenario_file::plan)),
        [&](const platform::byte_sink& sink) { write_plan_bytes(model.plan, sink); });
  }
  platform::replace_file(path_of(model::file_name(model, model::scenario_file::stations)),
                         station_file_bytes(model.station_table));
  platform::replace_file(path_of(model::file_name(model, model::scenario_file::cells)),
                         cell_file_bytes(model.track_cells));
}

}  // namespace assembly
