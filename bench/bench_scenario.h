// What the benchmarks compile: the shipped scenario, written by its own text
// writers, and a generated line of the greatest length the reader accepts,
// with curves and gradients all along it and a train that runs its whole
// length. Both are compiled by a Form1 whose program folder is a scratch
// folder.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "driver/Form1.h"

namespace bench {

inline constexpr std::int32_t longest_line_metres = 1000000;

// The description texts of the generated line, as the bytes of their files
// (single-byte, CR LF).
std::string longest_line_text();
std::string longest_train_text();

// The scenario to compile, and how its two description texts get into the folder.
enum class scenario_case { shipped, longest };

// Sets the scenario identity of the form and writes the two description texts
// of the case into its program folder. For the longest line, `line_text` and
// `train_text` are the bytes to write (the generated texts, made once).
void write_description_texts(Form1& form, scenario_case which, const std::string& line_text,
                             const std::string& train_text);

// The three compiled files, in the order the compile writes them.
std::array<std::filesystem::path, 3> compiled_files(const std::filesystem::path& folder);

// One compile outside any timing, to find out whether it runs clean and how
// many bytes it writes.
struct probe_result {
  bool ok = false;
  std::string problem;  // why not, when not ok
  std::int32_t error_code = 0;
  std::int32_t error_position = 0;
  std::array<std::uintmax_t, 3> file_sizes{};  // plan, stations, cells
};
probe_result probe_compile(scenario_case which, const std::string& line_text,
                           const std::string& train_text);

}  // namespace bench
