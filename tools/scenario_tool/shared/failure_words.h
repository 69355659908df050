// A failure caught at the top of a subcommand, told in the tool's own words:
// what the user can act on, never a library's wording.
#pragma once

#include <exception>
#include <string>

namespace scenario_tool {

// For a file-system failure the path and the system's reason ("/x/out: No
// such file or directory"); "out of memory"; otherwise the failure's own
// sentence (the tool's, the platform's and the decoder's failures carry one).
std::string failure_words(const std::exception& failure);

}  // namespace scenario_tool
