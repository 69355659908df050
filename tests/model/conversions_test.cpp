#include "model/conversions.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "model/track_plan.h"

namespace {

TEST(Conversions, RoundHalfToEven) {
  const struct {
    double in, out;
  } cases[] = {{0.5, 0},   {1.5, 2},    {2.5, 2},    {140.5, 140}, {141.5, 142}, {-1.5, -2},
               {-2.5, -2}, {2.4999, 2}, {2.5001, 3}, {-7.0, -7},   {12.4, 12},   {-0.4, 0}};
  for (const auto& c : cases) EXPECT_EQ(model::round_half_even(c.in), c.out) << c.in;
}

TEST(Conversions, RoundedIntoAFieldOrOverflow) {
  EXPECT_EQ(model::round_to_short(32767.4), 32767);
  EXPECT_EQ(model::round_to_short(-32768.5), -32768);  // halves to even
  EXPECT_THROW(model::round_to_short(32767.5), std::overflow_error);
  EXPECT_THROW(model::round_to_short(-32769), std::overflow_error);
  EXPECT_EQ(model::round_to_byte(254.5), 254);
  EXPECT_THROW(model::round_to_byte(255.5), std::overflow_error);
  EXPECT_THROW(model::round_to_byte(-0.6), std::overflow_error);
  EXPECT_EQ(model::round_to_long(2147483647.4), 2147483647);
  EXPECT_THROW(model::round_to_long(2147483648.0), std::overflow_error);
}

TEST(Conversions, LowBitsOfWiderValues) {
  EXPECT_EQ(model::low16(65836), 300);
  EXPECT_EQ(model::low16(40000), -25536);
  EXPECT_EQ(model::low16(-1), -1);
  EXPECT_EQ(model::low8(94), 94);
  EXPECT_EQ(model::low8(-6 + 100), 94);
  EXPECT_EQ(model::low8(300), 44);
  EXPECT_EQ(model::low8(-1), 255);
}

TEST(TrackPlan, ElementsKeepTheirTypeAndIndicesOutsideThePlanFail) {
  model::track_plan plan(10);
  EXPECT_EQ(plan.last_metre(), 10);
  EXPECT_EQ(plan.at(10, 1), model::plan_value{});
  plan.set_short(1, 1, 1);
  plan.set_point(2, 0.25, 2.0);
  EXPECT_EQ(plan.at(1, 1), (model::plan_value{model::plan_tag::short_int, 1.0}));
  EXPECT_EQ(plan.at(2, 0), (model::plan_value{model::plan_tag::real, 0.25}));
  EXPECT_EQ(plan.at(2, 1), (model::plan_value{model::plan_tag::real, 2.0}));
  // File order: all x values, then all y values.
  EXPECT_EQ(plan.tag(2), model::plan_tag::real);
  EXPECT_EQ(plan.value(11 + 2), 2.0);
  for (const auto& [metre, column] : {std::pair{11, 0}, {-1, 0}, {0, 2}, {0, -1}}) {
    EXPECT_THROW(plan.at(metre, column), std::out_of_range) << metre << "," << column;
  }
  EXPECT_THROW(plan.set_point(11, 0, 0), std::out_of_range);
  EXPECT_FALSE(model::track_plan{}.exists());
}

}  // namespace
