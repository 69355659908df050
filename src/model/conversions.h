// Conversions of 32-bit and floating-point values into the model's fields:
// rounding to the nearest integer with halves to even, and keeping the low
// 16 or 8 bits where a field takes a wider value.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>

namespace model {

// Nearest integer, halves to even (1.5 -> 2, 2.5 -> 2, -0.5 -> 0).
inline double round_half_even(double x) {
  const double r = std::round(x);  // halves away from zero
  if (std::fabs(x - std::trunc(x)) == 0.5 && std::fmod(r, 2.0) != 0.0)
    return r - std::copysign(1.0, x);
  return r;
}

// Rounded to a signed 32-bit value; outside its range is an overflow.
inline std::int32_t round_to_long(double x) {
  const double r = round_half_even(x);
  if (!(r >= std::numeric_limits<std::int32_t>::min() &&
        r <= std::numeric_limits<std::int32_t>::max())) {
    throw std::overflow_error("value " + std::to_string(x) + " does not fit a 32-bit integer");
  }
  return static_cast<std::int32_t>(r);
}

// Rounded to a signed 16-bit value; outside its range is an overflow.
inline std::int16_t round_to_short(double x) {
  const double r = round_half_even(x);
  if (!(r >= std::numeric_limits<std::int16_t>::min() &&
        r <= std::numeric_limits<std::int16_t>::max())) {
    throw std::overflow_error("value " + std::to_string(x) + " does not fit a 16-bit integer");
  }
  return static_cast<std::int16_t>(r);
}

// Rounded to an unsigned byte; outside 0 to 255 is an overflow.
inline std::uint8_t round_to_byte(double x) {
  const double r = round_half_even(x);
  if (!(r >= 0.0 && r <= 255.0)) {
    throw std::overflow_error("value " + std::to_string(x) + " does not fit a byte");
  }
  return static_cast<std::uint8_t>(r);
}

// The low 16 bits of a 32-bit value, as a signed short.
inline std::int16_t low16(std::int64_t v) {
  return static_cast<std::int16_t>(
      static_cast<std::uint16_t>(static_cast<std::uint64_t>(v) & 0xFFFFu));
}

// The low 8 bits of a 32-bit value.
inline std::uint8_t low8(std::int64_t v) {
  return static_cast<std::uint8_t>(static_cast<std::uint64_t>(v) & 0xFFu);
}

// y when x is greater than y, else x (so x on a tie); numbers of any type.
inline double minimo(double x, double y) {
  return x > y ? y : x;
}

}  // namespace model
