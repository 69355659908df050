// The route identifier and the train number become parts of file names on the
// driver's machine: each must be a plain name on Windows and on Linux alike.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "model/scenario_identity.h"

namespace model {

// The most a file's own name may hold, in UTF-16 units on Windows and in bytes
// on Linux: 255 on both.
inline constexpr std::size_t longest_own_name = 255;

// The longest own name that a scenario's identity makes (model/file_names.h):
// its slowdown order, "<route>_<train>_rallentamenti.txt", while it is written
// as a temporary, counted in UTF-8 bytes, which is never fewer than the UTF-16
// units of the same Windows-1252 text.
std::size_t longest_own_name_of(const scenario_identity& identity);

// Why one part of an identity, a route identifier or a train number (a
// Windows-1252 text), cannot be part of a file's name ("is a device name on
// Windows"); none when it can. The length of the whole name is not judged.
std::optional<std::string> name_part_fault(std::string_view part);

// Why the identity (two Windows-1252 texts) cannot name the scenario's files,
// as one line ("the route identifier "CON" is a device name on Windows"); none
// when it can.
std::optional<std::string> identity_fault(const scenario_identity& identity);

}  // namespace model
