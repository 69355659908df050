#include "model/little_endian.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>

namespace {

using namespace std::string_literals;

TEST(LittleEndian, NumbersGoLeastSignificantByteFirstTwosComplementWhenSigned) {
  std::string out;
  model::le_writer writer(out);
  writer.number(std::uint8_t{0xAB});
  writer.number(std::int16_t{-2});
  writer.number(std::int32_t{0x01020304});
  writer.number(std::uint64_t{0x8000000000000001});
  EXPECT_EQ(out,
            "\xAB"
            "\xFE\xFF"
            "\x04\x03\x02\x01"
            "\x01\x00\x00\x00\x00\x00\x00\x80"s);

  model::le_reader reader(out);
  EXPECT_EQ(reader.number<std::uint8_t>(), 0xAB);
  EXPECT_EQ(reader.number<std::int16_t>(), -2);
  EXPECT_EQ(reader.number<std::int32_t>(), 0x01020304);
  EXPECT_EQ(reader.number<std::uint64_t>(), 0x8000000000000001u);
  EXPECT_TRUE(reader.at_end());
}

TEST(LittleEndian, PutAndGetOfAGivenWidthKeepOnlyThatManyBytes) {
  char bytes[8] = {};
  EXPECT_EQ(model::put_le<2>(bytes, 0x123456), bytes + 2);
  EXPECT_EQ(std::string(bytes, 3), "\x56\x34\x00"s);
  // Bytes above 0x7F are taken as unsigned, never sign-extended.
  const std::string high = "\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF"s;
  EXPECT_EQ(model::get_le(high.data(), 8), UINT64_MAX);
  EXPECT_EQ(model::get_le(high.data(), 3), 0xFFFFFFu);
}

TEST(LittleEndian, ATextCarriesItsSixteenBitLength) {
  std::string out;
  model::le_writer writer(out);
  writer.text16("Tarvo");
  EXPECT_EQ(out, "\x05\x00Tarvo"s);
  EXPECT_THROW(writer.text16(std::string(65536, 'a')), std::length_error);
  EXPECT_EQ(out, "\x05\x00Tarvo"s);  // nothing of the refused text written
}

TEST(LittleEndian, TheReaderNeverTakesMoreThanIsLeft) {
  const std::string bytes = "\x01\x02\x03"s;
  model::le_reader reader(bytes);
  EXPECT_THROW(reader.number<std::uint32_t>(), std::out_of_range);
  EXPECT_EQ(reader.offset(), 0u);
  EXPECT_EQ(reader.number<std::uint16_t>(), 0x0201);
  EXPECT_EQ(reader.left(), 1u);
  EXPECT_THROW(reader.take(2), std::out_of_range);
  EXPECT_EQ(reader.take(1), "\x03");
  EXPECT_THROW(reader.bits(9), std::out_of_range);
}

}  // namespace
