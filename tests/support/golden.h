// Outputs kept as they were when recorded: each is compared byte for byte with
// its fixture under tests/golden. A fixture is the output itself, or, for an
// output too large to read in a review, its size and SHA-256.
//
// To record them anew (only when a change of output is meant):
//   SCENARIO_GOLDEN_RECORD=1 ./build/release/tests/scenario_tests --gtest_filter='Golden*'
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/replace_file.h"
#include "scenari/sha256.h"

namespace testing_support {

// Larger outputs are kept as their size and digest.
inline constexpr std::size_t golden_kept_whole = 64 * 1024;

inline std::string size_and_digest(std::string_view bytes) {
  std::string text = "size " + std::to_string(bytes.size()) + "\nsha256 ";
  for (const auto byte : scenari::sha256_of(bytes)) {
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02x", static_cast<unsigned>(byte));
    text += hex;
  }
  return text + "\n";
}

// What the fixture `name` holds for `output`.
inline std::string golden_form(std::string_view output) {
  return output.size() <= golden_kept_whole ? std::string(output) : size_and_digest(output);
}

inline void expect_golden(const std::string& name, std::string_view output) {
  const std::filesystem::path fixture = std::filesystem::path(GOLDEN_FOLDER) / name;
  const std::string kept = golden_form(output);
  if (std::getenv("SCENARIO_GOLDEN_RECORD") != nullptr) {
    std::filesystem::create_directories(fixture.parent_path());
    platform::replace_file(fixture, kept);
    return;
  }
  ASSERT_TRUE(std::filesystem::is_regular_file(fixture)) << fixture << " was never recorded";
  EXPECT_EQ(kept, platform::read_file(fixture)) << "differs from " << fixture;
}

}  // namespace testing_support
