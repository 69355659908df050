// The --kind option of dump and diff: which compiled file a file is read as
// when its name does not say.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "assembly/compiled_decoder.h"

namespace scenario_tool {

// The word of --kind: "plan", "stations" or "cells".
std::optional<assembly::file_kind> kind_from_word(std::string_view word);

// The kind a file was asked to be read as, else the one its name gives;
// throws std::invalid_argument when neither says.
assembly::file_kind kind_of(const std::filesystem::path& file,
                            const std::optional<assembly::file_kind>& asked);

}  // namespace scenario_tool
