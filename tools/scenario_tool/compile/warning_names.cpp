#include "scenario_tool/compile/warning_names.h"

#include "scenario_tool/compile/warnings.h"

namespace scenario_tool {

const std::vector<warning_name>& warning_names() {
  static const std::vector<warning_name> names = {
      {"keyword-typo", warning_level::error,
       "a field where a keyword is expected is within two edits of a keyword, or differs from it "
       "only in letter case where case counts: the row is skipped"},
      {"unknown-keyword", warning_level::warning,
       "a field where a keyword is expected matches no keyword: the row is skipped"},
      {"ambiguous-keyword", warning_level::warning,
       "a keyword matches several rows: each is applied, each reading its own values"},
      {"body-row-in-header", warning_level::warning,
       "a body row stands in the line text's header, where it is skipped"},
      {"stray-number", warning_level::warning,
       "a number stands where a keyword is expected: the row before has more values than it "
       "reads"},
      {"extra-comment-field", warning_level::warning,
       "more comment fields (holding '-') in a row than the reader skips"},
      {"comment-like-row", warning_level::warning,
       "a row that begins like a comment elsewhere ('#', ';', '//') holds a keyword and is read"},
      {"section-header-row", warning_level::warning,
       "a section header holds a keyword string and is read as that row"},
      {"blank-in-number", warning_level::error,
       "a blank stands inside a number: the number ends at it, and the digits after it are the "
       "next field"},
      {"row-spans-lines", warning_level::warning,
       "a row reads values from the lines after its own: its line holds too few values"},
      {"chainage-rounded", warning_level::warning,
       "a chainage is not a multiple of 50: the row lands in the cell of another chainage"},
      {"value-truncated", warning_level::warning,
       "a number carried for the simulator does not fit the byte or 16-bit field that keeps "
       "it: only its low bits are kept"},
      {"value-wraps", warning_level::error,
       "a value does not fit the byte or 16-bit field that keeps it, and the simulator sees "
       "another value: a climb becomes a descent, a speed turns negative"},
      {"value-out-of-range", warning_level::warning,
       "a value lies outside the range or set of values its row's table gives"},
      {"value-off-step", warning_level::warning,
       "a speed is not a multiple of 5 km/h: the compile keeps another speed"},
      {"stretch-inverted", warning_level::error,
       "a mountain-side stretch ends before it begins, or where it begins: it marks no cell"},
      {"fill-out-of-order", warning_level::warning,
       "a gradient, line speed or adhesion row comes before an earlier chainage's row"},
      {"curve-overlap", warning_level::warning, "a curve begins before the previous curve ends"},
      {"beyond-line-end", warning_level::error,
       "a station, signal, slowdown, speed point, sign or speed indicator lies beyond the end of "
       "the line, in the cells that extend it"},
      {"fill-beyond-line-end", warning_level::warning,
       "a gradient, curve, mountain-side, line speed or adhesion row lies beyond the end of the "
       "line"},
      {"nothing-read", warning_level::error,
       "a text from which the reader takes nothing: no [generale], or no row after it"},
      {"encoding", warning_level::warning,
       "a byte order mark, UTF-8, or a byte that is no Windows-1252 character"},
      {"line-ends", warning_level::off,
       "lines ended by LF or CR alone, not CR LF (the reader reads them the same way)"},
  };
  return names;
}

const warning_name* find_warning_name(std::string_view name) {
  for (const warning_name& n : warning_names()) {
    if (n.name == name) return &n;
  }
  return nullptr;
}

warning_policy::warning_policy() {
  for (const warning_name& n : warning_names()) levels_.push_back(n.by_default);
}

std::optional<std::string> warning_policy::apply(std::string_view option) {
  if (option == "error") {
    all_errors_ = true;
    return std::nullopt;
  }
  warning_level level = warning_level::warning;
  std::string_view name = option;
  for (const auto& [prefix, to] :
       {std::pair<std::string_view, warning_level>{"no-error=", warning_level::warning},
        {"error=", warning_level::error},
        {"no-", warning_level::off}}) {
    if (name.rfind(prefix, 0) == 0) {
      name.remove_prefix(prefix.size());
      level = to;
      break;
    }
  }
  const auto& names = warning_names();
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i].name == name) {
      levels_[i] = level;
      return std::nullopt;
    }
  }
  std::string why =
      "-W " + std::string(option) + ": no warning is named '" + std::string(name) + "'";
  std::string_view nearest;
  std::size_t best = 3;
  for (const warning_name& n : names) {
    const std::size_t d = edit_distance(name, n.name);
    if (d < best) {
      best = d;
      nearest = n.name;
    }
  }
  if (!nearest.empty()) why += "; did you mean '" + std::string(nearest) + "'?";
  return why;
}

warning_level warning_policy::level(std::string_view name) const {
  const auto& names = warning_names();
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i].name == name) {
      const warning_level l = levels_[i];
      return all_errors_ && l == warning_level::warning ? warning_level::error : l;
    }
  }
  return warning_level::warning;
}

void warning_policy::apply_to(std::vector<diagnostic>& diagnostics) const {
  std::vector<diagnostic> kept;
  kept.reserve(diagnostics.size());
  for (diagnostic& d : diagnostics) {
    if (!d.name.empty()) {
      const warning_level l = level(d.name);
      if (l == warning_level::off) continue;
      // A note stays a note: it only explains the diagnostic before it.
      if (d.level != severity::note) {
        d.level = l == warning_level::error ? severity::error : severity::warning;
      }
    } else if (all_errors_ && d.level == severity::warning) {
      d.level = severity::error;
    }
    kept.push_back(std::move(d));
  }
  diagnostics = std::move(kept);
}

}  // namespace scenario_tool
