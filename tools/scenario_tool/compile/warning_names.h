// The named diagnostics of the authors' tool: what the compile accepts without
// a word, or refuses only by its silence, that an author almost never means.
// Each has a stable name, shown with it and used on the command line, and a
// level by default, which the author may change one by one.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scenario_tool/compile/diagnostic.h"

namespace scenario_tool {

enum class warning_level { off, warning, error };

struct warning_name {
  std::string_view name;
  warning_level by_default;
  std::string_view summary;  // one line for help texts and references
};

// Every name, in a fixed order.
const std::vector<warning_name>& warning_names();
const warning_name* find_warning_name(std::string_view name);

// The level of each name for one run: the defaults, changed by the
// command line's -W options.
class warning_policy {
 public:
  warning_policy();

  // One -W value: "NAME" (on, as a warning), "no-NAME" (off), "error=NAME"
  // (an error), "no-error=NAME" (back to a warning) or "error" (every warning
  // an error). Returns the reason it is refused, or nothing.
  std::optional<std::string> apply(std::string_view option);

  // Sets each named diagnostic's severity from its name's level and drops
  // those that are off. Diagnostics without a name stay as they are.
  void apply_to(std::vector<diagnostic>& diagnostics) const;

  warning_level level(std::string_view name) const;

 private:
  std::vector<warning_level> levels_;  // in the order of warning_names()
  bool all_errors_ = false;
};

}  // namespace scenario_tool
