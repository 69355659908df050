// The records of the compiled files, each described once: its fields in file
// order, with their names and widths. The writer, the decoder and everything
// that shows records field by field (the authors' tool's dump, diff and JSON)
// walk these descriptions, so a field added or moved here changes all of them
// and nothing else needs to.
#pragma once

#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>

#include "model/station_entry.h"
#include "model/track_cell.h"
#include "model/track_plan.h"

namespace assembly {

// One field of a record: the name that dumps and the decoder's messages give
// it, and the member of the model's record that holds it. A number takes as
// many bytes as its member, little-endian (two's complement when signed); a
// text is an unsigned 16-bit length followed by its single-byte characters.
template <typename Record, typename Member>
struct record_field {
  using member_type = Member;
  static_assert(std::integral<Member> || std::same_as<Member, std::string>,
                "a record field is an integer or a text");
  static constexpr bool is_text = std::same_as<Member, std::string>;
  // Bytes in the file, not counting a text's characters.
  static constexpr std::size_t fixed_width = is_text ? 2 : sizeof(Member);

  std::string_view name;
  Member Record::*member;
};

template <typename Record, typename Member>
constexpr record_field<Record, Member> field(std::string_view name, Member Record::*member) {
  return {name, member};
}

// The description of each record kind, specialised below: `record_name` (how
// the decoder's messages name one record, "cell 12") and `fields`.
template <typename Record>
struct record_layout;

// One 50-metre cell of the cell file: 15 bytes.
template <>
struct record_layout<model::track_cell> {
  static constexpr std::string_view record_name = "cell";
  static constexpr auto fields = std::tuple{
      field("kind", &model::track_cell::kind),
      field("value", &model::track_cell::value),
      field("value2", &model::track_cell::value2),
      field("value3", &model::track_cell::value3),
      field("value4", &model::track_cell::value4),
      field("signal_time", &model::track_cell::signal_time),
      field("approach", &model::track_cell::approach),
      field("mountain", &model::track_cell::mountain),
      field("speed_limit", &model::track_cell::speed_limit),
      field("gradient", &model::track_cell::gradient),
      field("adhesion", &model::track_cell::adhesion),
  };
};

// One entry of the station table: 34 bytes and its name's characters.
template <>
struct record_layout<model::station_entry> {
  static constexpr std::string_view record_name = "station";
  static constexpr auto fields = std::tuple{
      field("kind", &model::station_entry::kind),
      field("start", &model::station_entry::start),
      field("end", &model::station_entry::end),
      field("position", &model::station_entry::position),
      field("flag_a", &model::station_entry::flag_a),
      field("name", &model::station_entry::name),
      field("group1_a", &model::station_entry::group1_a),
      field("group1_b", &model::station_entry::group1_b),
      field("group2_a", &model::station_entry::group2_a),
      field("group2_b", &model::station_entry::group2_b),
      field("group2_c", &model::station_entry::group2_c),
      field("group1_c", &model::station_entry::group1_c),
      field("stop", &model::station_entry::stop),
      field("end_shift", &model::station_entry::end_shift),
      field("flag_b", &model::station_entry::flag_b),
      field("time", &model::station_entry::time),
  };
};

// Calls `visit` with each field of `Record`'s description, in file order.
template <typename Record, typename Visit>
constexpr void for_each_field(Visit&& visit) {
  std::apply([&visit](const auto&... fields) { (visit(fields), ...); },
             record_layout<Record>::fields);
}

template <typename Record>
inline constexpr std::size_t field_count =
    std::tuple_size_v<std::remove_const_t<decltype(record_layout<Record>::fields)>>;

// The bytes a record takes, not counting its texts' characters.
template <typename Record>
constexpr std::size_t fixed_record_size() {
  std::size_t size = 0;
  for_each_field<Record>([&size](const auto& f) { size += f.fixed_width; });
  return size;
}

// One field of one record as tools show it: a number, or a text (then `text`
// points at it in the record and `number` is 0).
struct field_value {
  std::string_view name;
  std::int64_t number = 0;
  const std::string* text = nullptr;
};

// The fields of `record` in file order, with their names.
template <typename Record>
std::array<field_value, field_count<Record>> field_values(const Record& record) {
  std::array<field_value, field_count<Record>> values{};
  std::size_t i = 0;
  for_each_field<Record>([&](const auto& f) {
    values[i].name = f.name;
    if constexpr (std::decay_t<decltype(f)>::is_text) {
      values[i].text = &(record.*f.member);
    } else {
      values[i].number = record.*f.member;
    }
    ++i;
  });
  return values;
}

// An element of the track plan file: a 16-bit tag, then a value whose form
// the tag gives: nothing, a 16-bit integer (two's complement) or a double
// (its IEEE 754 bits).
struct plan_element_form {
  model::plan_tag tag;
  std::string_view name;    // as dumps show the value's type
  std::size_t value_width;  // bytes after the tag
};

struct plan_element_layout {
  static constexpr std::string_view record_name = "plan element";
  static constexpr std::string_view tag_field = "tag";
  static constexpr std::size_t tag_width = 2;
  static constexpr std::string_view value_field = "value";
  static constexpr std::array<plan_element_form, 3> forms{{
      {model::plan_tag::empty, "empty", 0},
      {model::plan_tag::short_int, "short", 2},
      {model::plan_tag::real, "double", 8},
  }};

  // The form of a tag as the file holds it; nullptr for a tag no writer uses.
  static constexpr const plan_element_form* form_of(std::uint16_t tag) {
    for (const plan_element_form& form : forms) {
      if (static_cast<std::uint16_t>(form.tag) == tag) return &form;
    }
    return nullptr;
  }
  static constexpr const plan_element_form& form_of(model::plan_tag tag) {
    return *form_of(static_cast<std::uint16_t>(tag));
  }
  static constexpr std::size_t widest() {
    std::size_t widest = 0;
    for (const plan_element_form& form : forms) {
      widest = form.value_width > widest ? form.value_width : widest;
    }
    return tag_width + widest;
  }
};

}  // namespace assembly
