// Appends numbers to a byte buffer in little-endian order, one field after
// the other with no gaps: the form of every record of the compiled files.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>

namespace assembly {

// Writes the low N bytes of `bits`, least significant first, at `at`;
// returns the position after them.
template <std::size_t N>
char* put_le(char* at, std::uint64_t bits) {
  for (std::size_t k = 0; k < N; ++k) *at++ = static_cast<char>((bits >> (8 * k)) & 0xFFu);
  return at;
}

class le_writer {
 public:
  explicit le_writer(std::string& out) : out_(out) {}

  // An integer in as many bytes as its type, two's complement when signed.
  template <std::integral Number>
  void number(Number v) {
    put<sizeof(Number)>(static_cast<std::make_unsigned_t<Number>>(v));
  }

  // A text as an unsigned 16-bit length followed by its single-byte characters.
  void text16(std::string_view text) {
    if (text.size() > std::numeric_limits<std::uint16_t>::max()) {
      throw std::length_error("text of " + std::to_string(text.size()) +
                              " characters does not fit a 16-bit length");
    }
    number(static_cast<std::uint16_t>(text.size()));
    out_.append(text);
  }

 private:
  template <std::size_t N>
  void put(std::uint64_t bits) {
    char bytes[N];
    put_le<N>(bytes, bits);
    out_.append(bytes, N);
  }

  std::string& out_;
};

}  // namespace assembly
