#include "model/record_words.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

TEST(CellKindWords, EveryKindAWriterUsesHasItsOwnWords) {
  std::set<std::string_view> names;
  std::set<std::string_view> descriptions;
  for (const model::cell_kind_words& words : model::cell_kinds) {
    SCOPED_TRACE(std::to_string(words.kind));
    EXPECT_EQ(model::words_of_cell_kind(words.kind), &words);
    EXPECT_FALSE(words.name.empty());
    EXPECT_TRUE(names.insert(words.name).second) << words.name << " names two kinds";
    EXPECT_TRUE(descriptions.insert(words.description).second) << words.description;
    // Only a free cell has no holder.
    EXPECT_EQ(words.holder.empty(), words.kind == model::cell_kind::empty ||
                                        words.kind == model::cell_kind::mountain_filler);
  }
  for (const std::uint8_t unused : {7, 8, 9, 15, 255}) {
    EXPECT_EQ(model::words_of_cell_kind(unused), nullptr);
    EXPECT_EQ(model::cell_kind_name(unused), "kind " + std::to_string(unused));
  }
  EXPECT_EQ(model::cell_kind_name(model::cell_kind::stop_point), "stop point");
}

TEST(CellKindWords, TheHolderNamesTheEntryAndTheValue) {
  const auto holder = [](std::uint8_t kind, std::string_view entry, std::int64_t value) {
    return model::holder_text(*model::words_of_cell_kind(kind), entry, value);
  };
  EXPECT_EQ(holder(model::cell_kind::stop_point, "SAN ROCCO", 3),
            "the stop point of station SAN ROCCO");
  EXPECT_EQ(holder(model::cell_kind::speed_point, "x", 80), "a speed point of 80 km/h");
  EXPECT_EQ(holder(model::cell_kind::sign, "FINE", 80), "sign 'FINE'");
  EXPECT_EQ(holder(model::cell_kind::signal, "x", 1), "a signal");
  // An entry's name is the author's text: put in as it is, never read again.
  EXPECT_EQ(holder(model::cell_kind::sign, "{value}", 80), "sign '{value}'");
}

TEST(CurveDigits, EachDigitSetsItsRadius) {
  const std::pair<char, long long> radii[] = {{'1', 10000}, {'2', 5000}, {'3', 2500},
                                              {'4', 1000},  {'5', 500},  {'6', 333}};
  ASSERT_EQ(std::size(radii), model::curve_digits.size());
  for (const auto& [digit, radius] : radii) {
    SCOPED_TRACE(digit);
    const auto curve = model::curve_digit_in(std::string("curvad") + digit);
    ASSERT_TRUE(curve.has_value());
    EXPECT_EQ(curve->digit, digit);
    EXPECT_EQ(model::curve_radius(*curve), radius);
  }
  EXPECT_FALSE(model::curve_digit_in("curvas").has_value());
  EXPECT_FALSE(model::curve_digit_in("curvad7").has_value());
  // Two digits: the first in the table's order decides, as the reader reads it.
  EXPECT_EQ(model::curve_digit_in("curvas41")->digit, '1');
}

TEST(StationRoles, TheIndexDecidesForTheFixedEntries) {
  using model::station_role;
  const std::pair<int, station_role> fixed[] = {{0, station_role::unused},
                                                {81, station_role::chainage_reference},
                                                {82, station_role::chainage_reference},
                                                {83, station_role::chainage_reference},
                                                {84, station_role::train_data},
                                                {85, station_role::route_header},
                                                {86, station_role::train_header}};
  for (const auto& [index, role] : fixed) {
    SCOPED_TRACE(index);
    EXPECT_EQ(model::station_role_by_index(index), role);
    EXPECT_EQ(model::station_role_fields(role).empty(), role == station_role::unused);
  }
  for (const int index : {1, 40, 79, 80}) EXPECT_FALSE(model::station_role_by_index(index));
  EXPECT_EQ(model::station_role_name(station_role::sign_text), "sign text");
  EXPECT_TRUE(model::station_role_fields(station_role::station).empty());
}

}  // namespace
