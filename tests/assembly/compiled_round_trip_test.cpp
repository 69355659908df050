// The writer and the decoder of the compiled files are the two halves of one
// format: what the writer wrote decodes to the records it was given, and what
// was decoded writes back to the same bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "assembly/compiled_decoder.h"
#include "assembly/compiled_files.h"
#include "compiled_seeds.h"
#include "tools/shipped_compiled.h"

namespace {

constexpr int random_models = 300;

// Bits straight from the engine, whose sequence the standard fixes, so that
// every build and platform makes the same models.
class random_bits {
 public:
  explicit random_bits(std::uint64_t seed) : engine_(seed) {}
  template <typename Number>
  Number any() {
    return static_cast<Number>(engine_());
  }
  std::size_t below(std::size_t bound) { return static_cast<std::size_t>(engine_() % bound); }

 private:
  std::mt19937_64 engine_;
};

model::track_cell random_cell(random_bits& bits) {
  model::track_cell c;
  c.kind = bits.any<std::uint8_t>();
  c.value = bits.any<std::int16_t>();
  c.value2 = bits.any<std::int16_t>();
  c.value3 = bits.any<std::int16_t>();
  c.value4 = bits.any<std::int16_t>();
  c.signal_time = bits.any<std::uint8_t>();
  c.approach = bits.any<std::uint8_t>();
  c.mountain = bits.any<std::uint8_t>();
  c.speed_limit = bits.any<std::uint8_t>();
  c.gradient = bits.any<std::uint8_t>();
  c.adhesion = bits.any<std::uint8_t>();
  return c;
}

model::station_entry random_entry(random_bits& bits) {
  model::station_entry e;
  e.kind = bits.any<std::uint8_t>();
  e.start = bits.any<std::int32_t>();
  e.end = bits.any<std::int32_t>();
  e.position = bits.any<std::int32_t>();
  e.flag_a = bits.any<std::uint8_t>();
  // Mostly empty or short names, now and then a long one; any byte, zero too.
  const std::size_t length = bits.below(4) == 0    ? 0
                             : bits.below(50) == 0 ? bits.below(3000)
                                                   : bits.below(40);
  for (std::size_t k = 0; k < length; ++k) e.name.push_back(bits.any<char>());
  e.group1_a = bits.any<std::int16_t>();
  e.group1_b = bits.any<std::int16_t>();
  e.group2_a = bits.any<std::int16_t>();
  e.group2_b = bits.any<std::int16_t>();
  e.group2_c = bits.any<std::int16_t>();
  e.group1_c = bits.any<std::uint8_t>();
  e.stop = bits.any<std::uint8_t>();
  e.end_shift = bits.any<std::uint8_t>();
  e.flag_b = bits.any<std::uint8_t>();
  e.time = bits.any<std::int32_t>();
  return e;
}

// A plan for a line of `length` metres whose file has the size such a line
// gives: every element a double of any bits (NaNs and infinities too), but
// for a few shorts and empty elements at random places, in one of the mixes
// that keep the size (the reader's own is four of each).
model::track_plan random_plan(random_bits& bits, std::int32_t length) {
  model::track_plan plan(length + model::extra_length);
  const std::size_t metres = static_cast<std::size_t>(plan.last_metre()) + 1;
  constexpr std::array<std::array<std::size_t, 2>, 3> mixes{{{0, 7}, {4, 4}, {8, 1}}};
  const auto [shorts, empties] = mixes[bits.below(mixes.size())];
  // Element i is x (i < metres) or y of metre i % metres, as in the file.
  std::vector<model::plan_tag> tags(2 * metres, model::plan_tag::real);
  for (std::size_t placed = 0; placed < shorts + empties;) {
    const std::size_t i = bits.below(tags.size());
    if (tags[i] != model::plan_tag::real) continue;
    tags[i] = placed < shorts ? model::plan_tag::short_int : model::plan_tag::empty;
    ++placed;
  }
  for (std::size_t i = 0; i < tags.size(); ++i) {
    const auto metre = static_cast<std::int32_t>(i % metres);
    const int column = i < metres ? 0 : 1;
    if (tags[i] == model::plan_tag::real) {
      plan.set_double(metre, column, std::bit_cast<double>(bits.any<std::uint64_t>()));
    } else if (tags[i] == model::plan_tag::short_int) {
      plan.set_short(metre, column, bits.any<std::int16_t>());
    }
  }
  return plan;
}

// Bit for bit: the writer keeps a double's bits, NaN payloads and -0 too.
void expect_same_plan(const model::track_plan& decoded, const model::track_plan& written) {
  ASSERT_EQ(decoded.last_metre(), written.last_metre());
  for (std::size_t i = 0; i < written.element_count(); ++i) {
    if (decoded.tag(i) != written.tag(i) || std::bit_cast<std::uint64_t>(decoded.value(i)) !=
                                                std::bit_cast<std::uint64_t>(written.value(i))) {
      ADD_FAILURE() << "plan element " << i << " differs: tag " << static_cast<int>(decoded.tag(i))
                    << " value " << decoded.value(i) << ", written tag "
                    << static_cast<int>(written.tag(i)) << " value " << written.value(i);
      return;
    }
  }
}

std::array<model::station_entry, model::station_count> as_table(
    const std::vector<model::station_entry>& entries) {
  std::array<model::station_entry, model::station_count> table{};
  EXPECT_EQ(entries.size(), table.size());
  std::copy_n(entries.begin(), std::min(entries.size(), table.size()), table.begin());
  return table;
}

// The writer's bytes for what was decoded.
std::string written_again(const assembly::decoded_file& file) {
  switch (file.kind) {
    case assembly::file_kind::cells:
      return assembly::cell_file_bytes(file.cells);
    case assembly::file_kind::stations:
      return assembly::station_file_bytes(as_table(file.stations));
    case assembly::file_kind::plan:
      return assembly::plan_file_bytes(file.plan);
  }
  return {};
}

TEST(CompiledRoundTrip, RandomCellFilesDecodeToTheirCells) {
  random_bits bits(0x5eed'ce11);
  for (int model_index = 0; model_index < random_models; ++model_index) {
    SCOPED_TRACE("model " + std::to_string(model_index));
    std::vector<model::track_cell> cells(bits.below(300));
    for (model::track_cell& cell : cells) cell = random_cell(bits);
    const std::string bytes = assembly::cell_file_bytes(cells);
    const assembly::decoded_file file = assembly::decode(assembly::file_kind::cells, bytes);
    ASSERT_EQ(file.cells.size(), cells.size());
    for (std::size_t i = 0; i < cells.size(); ++i) {
      ASSERT_TRUE(file.cells[i] == cells[i]) << "cell " << i;
    }
    EXPECT_EQ(written_again(file), bytes);
  }
}

TEST(CompiledRoundTrip, RandomStationTablesDecodeToTheirEntries) {
  random_bits bits(0x5eed'0057);
  for (int model_index = 0; model_index < random_models; ++model_index) {
    SCOPED_TRACE("model " + std::to_string(model_index));
    std::array<model::station_entry, model::station_count> table{};
    for (model::station_entry& entry : table) entry = random_entry(bits);
    const std::string bytes = assembly::station_file_bytes(table);
    const assembly::decoded_file file = assembly::decode(assembly::file_kind::stations, bytes);
    ASSERT_EQ(file.stations.size(), table.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
      ASSERT_TRUE(file.stations[i] == table[i]) << "station " << i;
    }
    EXPECT_EQ(written_again(file), bytes);
  }
}

TEST(CompiledRoundTrip, RandomPlansDecodeToTheirElementsAndLineLength) {
  random_bits bits(0x5eed'91a9);
  for (int model_index = 0; model_index < random_models; ++model_index) {
    SCOPED_TRACE("model " + std::to_string(model_index));
    // Now and then no line at all: the plan of the 7000 metres past its end.
    const auto length = static_cast<std::int32_t>(bits.below(8) == 0 ? 0 : bits.below(1500));
    const model::track_plan plan = random_plan(bits, length);
    const std::string bytes = assembly::plan_file_bytes(plan);
    const assembly::decoded_file file = assembly::decode(assembly::file_kind::plan, bytes);
    EXPECT_EQ(file.line_length, length);
    expect_same_plan(file.plan, plan);
    EXPECT_EQ(written_again(file), bytes);
  }
}

TEST(CompiledRoundTrip, ShippedFilesWriteBackToTheirBytes) {
  for (const char* name : {testing_support::shipped_plan, testing_support::shipped_stations,
                           testing_support::shipped_cells}) {
    SCOPED_TRACE(name);
    const std::string bytes = testing_support::shipped_bytes(name);
    const auto kind = assembly::kind_from_name(name);
    ASSERT_TRUE(kind.has_value());
    EXPECT_EQ(written_again(assembly::decode(*kind, bytes)), bytes);
  }
}

// Every seed of the compiled-file fuzz target that is a whole file writes
// back to its bytes; the others are pieces the decoder must refuse.
TEST(CompiledRoundTrip, FuzzSeedsThatDecodeWriteBackToTheirBytes) {
  using testing_support::shipped_bytes;
  const std::vector<fuzzing::compiled_seed> seeds =
      fuzzing::compiled_seeds(shipped_bytes(testing_support::shipped_plan),
                              shipped_bytes(testing_support::shipped_stations),
                              shipped_bytes(testing_support::shipped_cells));
  std::vector<std::string> decoded;
  for (const fuzzing::compiled_seed& seed : seeds) {
    SCOPED_TRACE(seed.name);
    ASSERT_FALSE(seed.input.empty());
    const std::string bytes = seed.input.substr(1);
    try {
      const assembly::decoded_file file = assembly::decode(
          fuzzing::compiled_kind_of(static_cast<unsigned char>(seed.input[0])), bytes);
      EXPECT_EQ(written_again(file), bytes);
      decoded.push_back(seed.name);
    } catch (const assembly::decode_error&) {
      // Only the plan's seed is a piece too short to be a plan.
      EXPECT_EQ(seed.name, "plan");
    }
  }
  EXPECT_EQ(decoded, (std::vector<std::string>{"stations", "cells"}));
}

}  // namespace
