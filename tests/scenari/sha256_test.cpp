#include "scenari/sha256.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string hex(const scenari::sha256_digest& digest) {
  static constexpr char digits[] = "0123456789abcdef";
  std::string out;
  for (const std::uint8_t byte : digest) {
    out.push_back(digits[byte >> 4]);
    out.push_back(digits[byte & 0xF]);
  }
  return out;
}

// The examples published with the standard (FIPS 180-4, and NIST's examples).
TEST(Sha256, GivesThePublishedDigests) {
  EXPECT_EQ(hex(scenari::sha256_of("")),
            "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(hex(scenari::sha256_of("abc")),
            "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(hex(scenari::sha256_of("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq")),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
  EXPECT_EQ(hex(scenari::sha256_of(std::string(1000000, 'a'))),
            "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(Sha256, IsTheSameHoweverTheBytesAreSplit) {
  std::string text;
  for (int i = 0; i < 300; ++i) text.push_back(static_cast<char>(i * 7));
  const scenari::sha256_digest whole = scenari::sha256_of(text);
  for (const std::size_t cut : {1u, 55u, 56u, 63u, 64u, 65u, 128u, 299u}) {
    scenari::sha256 hash;
    hash.update(std::string_view(text).substr(0, cut));
    hash.update(std::string_view(text).substr(cut));
    EXPECT_EQ(hash.finish(), whole) << "cut at " << cut;
  }
}

}  // namespace
