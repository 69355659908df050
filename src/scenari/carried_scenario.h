// The scenario that a packaged installer carries at the end of its own file:
// the generic installer program, then the scenario, then a trailer that gives
// the scenario's size, its SHA-256 digest and a fixed mark.
//
//   scenario: format number 1 (u32), plan flag (u8, 0 or 1), route identifier,
//             train number, line text, train text (each a u32 size and its
//             bytes), then the notes, the slowdown order and the train card
//             (each a u8, 0 absent or 1 present, and when present a u32 size
//             and its bytes); all numbers little-endian
//   trailer:  the scenario's size (u64), SHA-256 of the scenario followed by
//             that size (32 bytes), the mark "carried scenario" (16 bytes)
//
// The installer checks the mark, the size against its bounds and the file's
// size, then the digest, and only then reads the scenario's fields, each
// against its bounds: a cut, changed or lengthened file is refused before
// anything is written.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "model/scenario_identity.h"

namespace scenari {

struct carried_scenario {
  model::scenario_identity identity;          // Windows-1252 texts
  bool plan = true;                           // the track plan is built and written
  std::string line_text;                      // <route>_linea.txt, byte for byte
  std::string train_text;                     // <route>_<train>-.txt
  std::optional<std::string> notes;           // <route>_<train>_note.txt
  std::optional<std::string> slowdown_order;  // <route>_<train>_rallentamenti.txt
  std::optional<std::string> train_card;      // <route>_<train>_scheda_treno.txt
};

// The scenario built into the shipped installer, with its texts and
// documents as it writes them.
carried_scenario shipped_scenario();

// The largest text or document an installer carries: 8 MiB.
inline constexpr std::size_t largest_carried_file = std::size_t{8} << 20;
// The largest scenario: five files at their largest, with room for the
// identity and the sizes.
inline constexpr std::size_t largest_carried_scenario = 5 * largest_carried_file + 4096;
inline constexpr std::string_view carried_mark = "carried scenario";
inline constexpr std::size_t carried_trailer_size = 8 + 32 + carried_mark.size();

// What makes an installer's carried scenario unusable; what() says why, to
// follow "this installer is damaged: ".
class damaged_installer : public std::runtime_error {
 public:
  explicit damaged_installer(const std::string& why) : std::runtime_error(why) {}
};

// The bytes that follow the generic installer's own: the scenario and its
// trailer. Throws std::invalid_argument when a file exceeds its bound or the
// identity cannot name files.
std::string seal_scenario(const carried_scenario& scenario);

// The scenario sealed at the end of `installer` (the whole file, or any end
// part of it that holds the scenario and its trailer). Throws damaged_installer.
carried_scenario unseal_scenario(std::string_view installer);

// The same, reading only the end of the installer's file. Throws
// damaged_installer, or platform::file_error when the file cannot be read.
carried_scenario read_carried_scenario(const std::filesystem::path& installer);

}  // namespace scenari
