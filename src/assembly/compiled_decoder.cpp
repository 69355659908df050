#include "assembly/compiled_decoder.h"

#include <bit>
#include <concepts>
#include <string>
#include <type_traits>

#include "assembly/record_layouts.h"
#include "model/conversions.h"
#include "model/file_names.h"
#include "model/little_endian.h"
#include "platform/replace_file.h"

namespace assembly {

namespace {

// Little-endian fields read one by one from the bytes, each named, so that a
// file that ends inside a field says where.
class field_cursor {
 public:
  explicit field_cursor(std::string_view bytes) : in_(bytes) {}

  // The record the next fields belong to, as the messages name it.
  void enter(std::string_view record, std::size_t index) {
    record_ = record;
    index_ = index;
  }
  std::size_t offset() const { return in_.offset(); }
  bool at_end() const { return in_.at_end(); }
  std::size_t left() const { return in_.left(); }

  std::uint64_t bits(std::size_t width, std::string_view field) {
    need(width, field);
    return in_.bits(width);
  }
  // An integer of as many bytes as its type, two's complement when signed.
  template <std::integral Number>
  Number number(std::string_view field) {
    need(sizeof(Number), field);
    return in_.number<Number>();
  }
  std::string text(std::size_t length, std::string_view field) {
    need(length, field);
    return std::string(in_.take(length));
  }

  std::string where() const { return std::string(record_) + " " + std::to_string(index_); }

 private:
  void need(std::size_t width, std::string_view field) const {
    if (left() < width) {
      throw decode_error(offset(), "truncated at byte " + std::to_string(offset()) + ", inside " +
                                       where() + ", at field " + std::string(field));
    }
  }

  model::le_reader in_;
  std::string_view record_ = "file";
  std::size_t index_ = 0;
};

// Reads the fields of one record in the order its layout lists them; a
// text's length is the field "<name> length".
template <typename Record>
Record read_record(field_cursor& in, std::size_t index) {
  in.enter(record_layout<Record>::record_name, index);
  Record record;
  for_each_field<Record>([&](const auto& f) {
    using field_type = std::decay_t<decltype(f)>;
    if constexpr (field_type::is_text) {
      const auto length = in.number<std::uint16_t>(std::string(f.name) + " length");
      record.*f.member = in.text(length, f.name);
    } else {
      record.*f.member = in.number<typename field_type::member_type>(f.name);
    }
  });
  return record;
}

std::vector<model::track_cell> decode_cells(std::string_view bytes) {
  field_cursor in(bytes);
  std::vector<model::track_cell> cells;
  for (std::size_t i = 0; !in.at_end(); ++i) cells.push_back(read_record<model::track_cell>(in, i));
  return cells;
}

std::vector<model::station_entry> decode_stations(std::string_view bytes) {
  field_cursor in(bytes);
  std::vector<model::station_entry> entries;
  for (std::size_t i = 0; i < static_cast<std::size_t>(model::station_count); ++i) {
    if (in.at_end()) {
      throw decode_error(in.offset(), "the station table ends at byte " +
                                          std::to_string(in.offset()) + " after " +
                                          std::to_string(i) + " whole entries: it has 87");
    }
    entries.push_back(read_record<model::station_entry>(in, i));
  }
  if (!in.at_end()) {
    throw decode_error(in.offset(),
                       std::to_string(in.left()) + " bytes follow entry 86, from byte " +
                           std::to_string(in.offset()) + ": the station table has 87 entries");
  }
  return entries;
}

std::string size_message(std::size_t size) {
  return "the plan file of " + std::to_string(size) +
         " bytes fits no line length: a line of L metres (0 to " +
         std::to_string(model::longest_line) + ") gives 20 x L + 139964 bytes";
}

// Walks the tagged elements in file order, handing each to `take` with its
// index, tag and value.
template <typename Take>
void walk_plan(std::string_view bytes, Take take) {
  field_cursor in(bytes);
  using layout = plan_element_layout;
  for (std::size_t i = 0; !in.at_end(); ++i) {
    in.enter(layout::record_name, i);
    const std::size_t tag_at = in.offset();
    const auto tag = static_cast<std::uint16_t>(in.bits(layout::tag_width, layout::tag_field));
    const plan_element_form* form = layout::form_of(tag);
    if (form == nullptr) {
      std::string known;
      for (const plan_element_form& f : layout::forms) {
        known += (known.empty() ? "" : ", ") + std::to_string(static_cast<int>(f.tag)) + " " +
                 std::string(f.name);
      }
      throw decode_error(tag_at, "unknown type tag " + std::to_string(tag) + " at byte " +
                                     std::to_string(tag_at) + ", in " + in.where() +
                                     " (known: " + known + ")");
    }
    const std::uint64_t bits = in.bits(form->value_width, layout::value_field);
    switch (form->tag) {
      case model::plan_tag::empty:
        take(i, model::plan_tag::empty, 0.0);
        break;
      case model::plan_tag::short_int:
        take(i, model::plan_tag::short_int,
             static_cast<double>(static_cast<std::int16_t>(static_cast<std::uint16_t>(bits))));
        break;
      case model::plan_tag::real:
        take(i, model::plan_tag::real, std::bit_cast<double>(bits));
        break;
    }
  }
}

void decode_plan(std::string_view bytes, decoded_file& file) {
  const std::int64_t size = static_cast<std::int64_t>(bytes.size());
  // Larger than the longest line's plan: nothing to read element by element.
  if (size > plan_file_size(model::longest_line)) throw decode_error(0, size_message(bytes.size()));

  // A first walk finds where the elements end or go wrong and counts them;
  // nothing is kept until the count is known to fit the file's size.
  std::size_t count = 0;
  walk_plan(bytes, [&count](std::size_t, model::plan_tag, double) { ++count; });

  if (size < plan_file_size(0) || (size - plan_file_size(0)) % 20 != 0) {
    throw decode_error(bytes.size(), size_message(bytes.size()));
  }
  const std::int64_t length = (size - plan_file_size(0)) / 20;
  const std::size_t metres = static_cast<std::size_t>(length + model::extra_length + 1);
  if (count != 2 * metres) {
    throw decode_error(bytes.size(), "the plan file holds " + std::to_string(count) +
                                         " elements where its size, that of a line of " +
                                         std::to_string(length) + " m, calls for " +
                                         std::to_string(2 * metres));
  }
  file.line_length = static_cast<std::int32_t>(length);
  file.plan = model::track_plan(static_cast<std::int32_t>(metres - 1));
  walk_plan(bytes, [&file, metres](std::size_t i, model::plan_tag tag, double value) {
    const auto metre = static_cast<std::int32_t>(i % metres);
    const int column = i < metres ? 0 : 1;
    if (tag == model::plan_tag::short_int) {
      file.plan.set_short(metre, column, static_cast<std::int16_t>(value));
    } else if (tag == model::plan_tag::real) {
      file.plan.set_double(metre, column, value);
    }
  });
}

}  // namespace

std::string_view describe(file_kind kind) {
  switch (kind) {
    case file_kind::plan:
      return "track plan";
    case file_kind::stations:
      return "station table";
    case file_kind::cells:
      return "track cells";
  }
  return "";
}

std::optional<file_kind> kind_from_name(const std::filesystem::path& file) {
  const std::u8string name = file.filename().u8string();
  const auto named = model::file_of_name(
      std::string_view(reinterpret_cast<const char*>(name.data()), name.size()));
  if (!named) return std::nullopt;
  switch (*named) {
    case model::scenario_file::plan:
      return file_kind::plan;
    case model::scenario_file::stations:
      return file_kind::stations;
    case model::scenario_file::cells:
      return file_kind::cells;
    default:
      return std::nullopt;
  }
}

std::int64_t plan_file_size(std::int64_t line_length) {
  return 20 * line_length + 139964;
}

std::int32_t last_cell_of_line(std::int64_t line_length) {
  return static_cast<std::int32_t>(
      model::round_half_even(static_cast<double>(line_length + model::extra_length) / 50.0));
}

decoded_file decode(file_kind kind, std::string_view bytes) {
  decoded_file file;
  file.kind = kind;
  file.size = bytes.size();
  switch (kind) {
    case file_kind::cells:
      file.cells = decode_cells(bytes);
      break;
    case file_kind::stations:
      file.stations = decode_stations(bytes);
      break;
    case file_kind::plan:
      decode_plan(bytes, file);
      break;
  }
  return file;
}

namespace {

// The most bytes one record of a layout takes: every text at its longest.
template <typename Record>
constexpr std::uint64_t largest_record_size() {
  std::uint64_t size = 0;
  for_each_field<Record>([&size](const auto& f) {
    size += f.fixed_width;
    if (std::decay_t<decltype(f)>::is_text) size += UINT16_MAX;
  });
  return size;
}

}  // namespace

std::uint64_t largest_file_size(file_kind kind) {
  switch (kind) {
    case file_kind::plan:
      return static_cast<std::uint64_t>(plan_file_size(model::longest_line));
    case file_kind::stations:
      return static_cast<std::uint64_t>(model::station_count) *
             largest_record_size<model::station_entry>();
    case file_kind::cells:
      break;
  }
  // Cells 0 to the last of the longest line.
  return (static_cast<std::uint64_t>(last_cell_of_line(model::longest_line)) + 1) *
         largest_record_size<model::track_cell>();
}

decoded_file read_compiled_file(const std::filesystem::path& file, file_kind kind) {
  const std::string what = "a " + std::string(describe(kind)) + " file";
  return decode(kind, platform::read_file(file, {largest_file_size(kind), what}));
}

}  // namespace assembly
