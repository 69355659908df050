// The seed corpus of the compiled-file fuzz target, made from the shipped
// scenario's three compiled files: the station table whole, and the first
// cells and plan elements, each behind the selector byte that makes the
// target read it as its kind. The round-trip tests check every seed that
// decodes.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "assembly/compiled_decoder.h"
#include "assembly/compiled_files.h"

namespace fuzzing {

// The kind the rest of an input is read as, chosen by its first byte.
inline assembly::file_kind compiled_kind_of(unsigned char selector) {
  constexpr assembly::file_kind kinds[] = {assembly::file_kind::plan, assembly::file_kind::stations,
                                           assembly::file_kind::cells};
  return kinds[selector % 3];
}

struct compiled_seed {
  std::string name;   // the file's name in the corpus folder
  std::string input;  // the selector byte, then the file's bytes
};

// Seeds from the three files' bytes; the pieces are kept small for a quick
// search (the plan's piece is too short to be a whole plan).
inline std::vector<compiled_seed> compiled_seeds(const std::string& plan,
                                                 const std::string& stations,
                                                 const std::string& cells) {
  constexpr std::size_t plan_piece = 4000;
  constexpr std::size_t cells_piece = 200 * assembly::cell_record_size;
  // Selector bytes as compiled_kind_of reads them.
  return {{"plan", std::string(1, '\0') + plan.substr(0, plan_piece)},
          {"stations", std::string(1, '\1') + stations},
          {"cells", std::string(1, '\2') + cells.substr(0, cells_piece)}};
}

}  // namespace fuzzing
