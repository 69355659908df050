// The two check codes of the scenario identity, stamped into the header slots
// of the compiled station table and track cells.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/scenario_model.h"

namespace assembly {

inline constexpr std::string_view check_code_fill = "aabbccddeeffgghhiillmmnnoo";
inline constexpr std::size_t check_code_length = 25;

// The first 25 characters of: train number, route identifier, in lower case,
// then the fill text.
std::string check_code_key(std::string_view train_number, std::string_view route_id);

// Sum of the single-byte codes of the key's 25 characters.
std::int32_t plain_check_code(std::string_view train_number, std::string_view route_id);
// Sum of each code times its position, counted from 1.
std::int32_t weighted_check_code(std::string_view train_number, std::string_view route_id);

// The plain and the weighted code of the identity the reader stored in the
// station table's header entries.
std::int32_t codice_gara_og(const model::scenario_model& model);
std::int32_t codice_gara_st(const model::scenario_model& model);

}  // namespace assembly
