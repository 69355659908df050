#include "scenario_tool/inspect/kind_option.h"

#include <stdexcept>
#include <string>

namespace scenario_tool {

std::optional<assembly::file_kind> kind_from_word(std::string_view word) {
  if (word == "plan") return assembly::file_kind::plan;
  if (word == "stations") return assembly::file_kind::stations;
  if (word == "cells") return assembly::file_kind::cells;
  return std::nullopt;
}

assembly::file_kind kind_of(const std::filesystem::path& file,
                            const std::optional<assembly::file_kind>& asked) {
  if (asked) return *asked;
  if (const auto named = assembly::kind_from_name(file)) return *named;
  throw std::invalid_argument("cannot tell the kind of " + file.string() +
                              " from its name (_linea.dat, .sim or .dat): give --kind plan, "
                              "stations or cells");
}

}  // namespace scenario_tool
