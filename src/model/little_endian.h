// Numbers as the scenario's binary files hold them: little-endian, least
// significant byte first, two's complement when signed, one field after the
// other with no gaps. Both directions live here side by side: the compiled
// files and the scenario an installer carries are written and read back by
// the same code.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>

namespace model {

// The widest field: 8 bytes.
inline constexpr std::size_t widest_le_field = sizeof(std::uint64_t);

// Writes the low `width` bytes (at most 8) of `bits` at `at`, least
// significant first; returns the position after them.
inline char* put_le(char* at, std::uint64_t bits, std::size_t width) {
  for (std::size_t k = 0; k < width && k < widest_le_field; ++k) {
    *at++ = static_cast<char>((bits >> (8 * k)) & 0xFFu);
  }
  return at;
}
template <std::size_t N>
char* put_le(char* at, std::uint64_t bits) {
  static_assert(N <= widest_le_field);
  return put_le(at, bits, N);
}

// Reads `width` bytes (at most 8) at `at`, least significant first.
inline std::uint64_t get_le(const char* at, std::size_t width) {
  std::uint64_t bits = 0;
  for (std::size_t k = 0; k < width && k < widest_le_field; ++k) {
    bits |= static_cast<std::uint64_t>(static_cast<unsigned char>(at[k])) << (8 * k);
  }
  return bits;
}

// Appends fields to a byte buffer.
class le_writer {
 public:
  explicit le_writer(std::string& out) : out_(out) {}

  // An integer in as many bytes as its type, two's complement when signed.
  template <std::integral Number>
  void number(Number v) {
    char bytes[sizeof(Number)];
    put_le<sizeof(Number)>(bytes, static_cast<std::make_unsigned_t<Number>>(v));
    out_.append(bytes, sizeof(Number));
  }

  // Bytes as they are.
  void bytes(std::string_view bytes) { out_.append(bytes); }

  // A text as an unsigned 16-bit length followed by its single-byte characters.
  void text16(std::string_view text) {
    if (text.size() > std::numeric_limits<std::uint16_t>::max()) {
      throw std::length_error("text of " + std::to_string(text.size()) +
                              " characters does not fit a 16-bit length");
    }
    number(static_cast<std::uint16_t>(text.size()));
    bytes(text);
  }

 private:
  std::string& out_;
};

// Takes fields from bytes in order. A reader checks left() before each field
// and names what is cut short in its own terms; taking more than is left
// throws std::out_of_range, never reads past the bytes.
class le_reader {
 public:
  explicit le_reader(std::string_view bytes) : bytes_(bytes) {}

  std::size_t offset() const { return at_; }
  std::size_t left() const { return bytes_.size() - at_; }
  bool at_end() const { return at_ == bytes_.size(); }

  // The next `width` bytes (at most 8) as an unsigned number.
  std::uint64_t bits(std::size_t width) {
    if (width > widest_le_field) throw std::out_of_range("a field wider than 8 bytes");
    return get_le(take(width).data(), width);
  }
  // An integer of as many bytes as its type, two's complement when signed.
  template <std::integral Number>
  Number number() {
    return static_cast<Number>(static_cast<std::make_unsigned_t<Number>>(bits(sizeof(Number))));
  }
  // The next `size` bytes as they are.
  std::string_view take(std::size_t size) {
    if (size > left()) throw std::out_of_range("a field past the end of the bytes");
    const std::string_view taken = bytes_.substr(at_, size);
    at_ += size;
    return taken;
  }

 private:
  std::string_view bytes_;
  std::size_t at_ = 0;
};

}  // namespace model
