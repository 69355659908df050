// SHA-256 (FIPS 180-4), the digest that seals the scenario a packaged
// installer carries.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace scenari {

using sha256_digest = std::array<std::uint8_t, 32>;

// Fed piece by piece; the digest is the same however the bytes are split.
class sha256 {
 public:
  sha256();
  void update(std::string_view bytes);
  // The digest of everything fed so far; the object is spent afterwards.
  sha256_digest finish();

 private:
  void compress(const std::uint8_t* block);

  std::array<std::uint32_t, 8> state_;
  std::array<std::uint8_t, 64> block_{};
  std::size_t block_used_ = 0;
  std::uint64_t length_ = 0;  // bytes fed
};

sha256_digest sha256_of(std::string_view bytes);

}  // namespace scenari
