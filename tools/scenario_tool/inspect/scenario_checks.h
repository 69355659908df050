// The header slots of a compiled file checked against what they must hold:
// the format tags 610 and 5121, the two check codes of the scenario's route
// and train, and, with the other files of the scenario beside it, the counts
// that the line length calls for.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "assembly/compiled_decoder.h"

namespace scenario_tool {

struct check_result {
  std::string what;      // "format tag (cell 1 value)"
  std::string found;     // as the file holds it
  std::string expected;  // empty when the check could not be made
  std::string basis;     // where the expected value comes from, may be empty
  bool ok = true;
};

// "format tag (cell 1 value): 5121, ok" or "...: 5120, expected 5121: MISMATCH".
std::string check_line(const check_result& check);

// The route and train of a scenario, and where they were read.
struct scenario_names {
  std::string route_id;
  std::string train_number;
  std::string source;
};

// The other compiled files of the scenario that `file` belongs to, found
// beside it by name and decoded when they can be.
struct companion_files {
  std::optional<assembly::decoded_file> plan;
  std::filesystem::path plan_path;
  std::optional<assembly::decoded_file> stations;
  std::filesystem::path stations_path;
};
companion_files find_companions(const std::filesystem::path& file, assembly::file_kind kind);

// The checks of one decoded file; `file_path` names it (its name may give the
// route and train) and `companions` are its scenario's other files.
std::vector<check_result> header_checks(const assembly::decoded_file& file,
                                        const std::filesystem::path& file_path,
                                        const companion_files& companions);

}  // namespace scenario_tool
