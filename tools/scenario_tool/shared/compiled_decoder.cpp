#include "scenario_tool/shared/compiled_decoder.h"

#include <bit>
#include <string>

#include "model/conversions.h"

namespace scenario_tool {

namespace {

// Little-endian fields read one by one from the bytes, each named, so that a
// file that ends inside a field says where.
class field_cursor {
 public:
  explicit field_cursor(std::string_view bytes) : bytes_(bytes) {}

  // The record the next fields belong to, as the messages name it.
  void enter(const char* record, std::size_t index) {
    record_ = record;
    index_ = index;
  }
  std::size_t offset() const { return at_; }
  bool at_end() const { return at_ == bytes_.size(); }
  std::size_t left() const { return bytes_.size() - at_; }

  std::uint64_t bits(std::size_t width, const char* field) {
    need(width, field);
    std::uint64_t v = 0;
    for (std::size_t k = 0; k < width; ++k) {
      v |= static_cast<std::uint64_t>(static_cast<unsigned char>(bytes_[at_ + k])) << (8 * k);
    }
    at_ += width;
    return v;
  }
  std::uint8_t u8(const char* field) { return static_cast<std::uint8_t>(bits(1, field)); }
  std::uint16_t u16(const char* field) { return static_cast<std::uint16_t>(bits(2, field)); }
  std::int16_t i16(const char* field) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(bits(2, field)));
  }
  std::int32_t i32(const char* field) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(bits(4, field)));
  }
  double f64(const char* field) { return std::bit_cast<double>(bits(8, field)); }
  std::string text(std::size_t length, const char* field) {
    need(length, field);
    std::string t(bytes_.substr(at_, length));
    at_ += length;
    return t;
  }

  std::string where() const { return record_ + std::string(" ") + std::to_string(index_); }

 private:
  void need(std::size_t width, const char* field) const {
    if (left() < width) {
      throw decode_error(at_, "truncated at byte " + std::to_string(at_) + ", inside " + where() +
                                  ", at field " + field);
    }
  }

  std::string_view bytes_;
  std::size_t at_ = 0;
  const char* record_ = "file";
  std::size_t index_ = 0;
};

std::vector<model::track_cell> decode_cells(std::string_view bytes) {
  field_cursor in(bytes);
  std::vector<model::track_cell> cells;
  for (std::size_t i = 0; !in.at_end(); ++i) {
    in.enter("cell", i);
    model::track_cell c;
    c.kind = in.u8("kind");
    c.value = in.i16("value");
    c.value2 = in.i16("value2");
    c.value3 = in.i16("value3");
    c.value4 = in.i16("value4");
    c.signal_time = in.u8("signal_time");
    c.approach = in.u8("approach");
    c.mountain = in.u8("mountain");
    c.speed_limit = in.u8("speed_limit");
    c.gradient = in.u8("gradient");
    c.adhesion = in.u8("adhesion");
    cells.push_back(c);
  }
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
    in.enter("station", i);
    model::station_entry e;
    e.kind = in.u8("kind");
    e.start = in.i32("start");
    e.end = in.i32("end");
    e.position = in.i32("position");
    e.flag_a = in.u8("flag_a");
    const std::uint16_t length = in.u16("name length");
    e.name = in.text(length, "name");
    e.group1_a = in.i16("group1_a");
    e.group1_b = in.i16("group1_b");
    e.group2_a = in.i16("group2_a");
    e.group2_b = in.i16("group2_b");
    e.group2_c = in.i16("group2_c");
    e.group1_c = in.u8("group1_c");
    e.stop = in.u8("stop");
    e.end_shift = in.u8("end_shift");
    e.flag_b = in.u8("flag_b");
    e.time = in.i32("time");
    entries.push_back(std::move(e));
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
         " bytes fits no line length: a line of L metres (0 to 1000000) gives 20 x L + 139964 "
         "bytes";
}

// Walks the tagged elements in file order, handing each to `take` with its
// index, tag and value.
template <typename Take>
void walk_plan(std::string_view bytes, Take take) {
  field_cursor in(bytes);
  for (std::size_t i = 0; !in.at_end(); ++i) {
    in.enter("plan element", i);
    const std::size_t tag_at = in.offset();
    const std::uint16_t tag = in.u16("tag");
    switch (static_cast<model::plan_tag>(tag)) {
      case model::plan_tag::empty:
        take(i, model::plan_tag::empty, 0.0);
        break;
      case model::plan_tag::short_int:
        take(i, model::plan_tag::short_int, static_cast<double>(in.i16("value")));
        break;
      case model::plan_tag::real:
        take(i, model::plan_tag::real, in.f64("value"));
        break;
      default:
        throw decode_error(tag_at, "unknown type tag " + std::to_string(tag) + " at byte " +
                                       std::to_string(tag_at) + ", in " + in.where() +
                                       " (known: 0 empty, 2 short, 5 double)");
    }
  }
}

void decode_plan(std::string_view bytes, decoded_file& file) {
  const std::int64_t size = static_cast<std::int64_t>(bytes.size());
  // Larger than the longest line's plan: nothing to read element by element.
  if (size > plan_file_size(longest_line)) throw decode_error(0, size_message(bytes.size()));

  // A first walk finds where the elements end or go wrong and counts them;
  // nothing is kept until the count is known to fit the file's size.
  std::size_t count = 0;
  walk_plan(bytes, [&count](std::size_t, model::plan_tag, double) { ++count; });

  if (size < plan_file_size(0) || (size - plan_file_size(0)) % 20 != 0) {
    throw decode_error(bytes.size(), size_message(bytes.size()));
  }
  const std::int64_t length = (size - plan_file_size(0)) / 20;
  const std::size_t metres = static_cast<std::size_t>(length + 7001);
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
  const std::string name = file.filename().string();
  const auto ends_with = [&name](std::string_view end) {
    return name.size() >= end.size() &&
           name.compare(name.size() - end.size(), end.size(), end) == 0;
  };
  if (ends_with("_linea.dat")) return file_kind::plan;
  if (ends_with(".sim")) return file_kind::stations;
  if (ends_with(".dat")) return file_kind::cells;
  return std::nullopt;
}

std::optional<file_kind> kind_from_word(std::string_view word) {
  if (word == "plan") return file_kind::plan;
  if (word == "stations") return file_kind::stations;
  if (word == "cells") return file_kind::cells;
  return std::nullopt;
}

std::int64_t plan_file_size(std::int64_t line_length) {
  return 20 * line_length + 139964;
}

std::int32_t last_cell_of_line(std::int64_t line_length) {
  return static_cast<std::int32_t>(
      model::round_half_even(static_cast<double>(line_length + 7000) / 50.0));
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

}  // namespace scenario_tool

#include "platform/replace_file.h"

namespace scenario_tool {

file_kind kind_of(const std::filesystem::path& file, const std::optional<file_kind>& asked) {
  if (asked) return *asked;
  if (const auto named = kind_from_name(file)) return *named;
  throw std::invalid_argument("cannot tell the kind of " + file.string() +
                              " from its name (_linea.dat, .sim or .dat): give --kind plan, "
                              "stations or cells");
}

decoded_file read_compiled_file(const std::filesystem::path& file, file_kind kind) {
  return decode(kind, platform::read_file(file));
}

}  // namespace scenario_tool
