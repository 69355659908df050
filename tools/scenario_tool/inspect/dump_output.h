// What dump prints for a decoded file: its checks, then its records.
#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>

#include "assembly/compiled_decoder.h"
#include "scenario_tool/inspect/scenario_checks.h"

namespace scenario_tool {

// Prints the file's records from..to (indices, or metres for the plan) as
// text or JSON; returns status_ok when every check holds, else status_failed.
int dump_decoded(const assembly::decoded_file& file, const std::filesystem::path& path,
                 const companion_files& companions, bool as_json, std::int64_t from,
                 std::int64_t to, std::ostream& out);

}  // namespace scenario_tool
