// The format reference for authors (docs/format-reference.md), carried by the
// tool as it is in the repository, and its entries: each begins at a marker
// line `<!-- explain: NAME | NAME ... -->` and runs to the next marker or the
// next heading after its own. `explain` prints an entry as the page shows it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace scenario_tool {

// The reference's bytes, embedded at build time.
std::string_view format_reference();

struct reference_entry {
  std::vector<std::string> names;  // as the marker writes them; the first is the entry's own
  std::string title;               // its heading, without the leading #'s and backticks
  std::string text;  // its heading and body, marker and comment lines left out, links as
                     // their words
};

// The entries of a reference page, in page order, each as a terminal shows it.
std::vector<reference_entry> reference_entries(std::string_view page);

// The entry one of whose names is `topic` (letter case and runs of blanks
// ignored), or null.
const reference_entry* find_entry(const std::vector<reference_entry>& entries,
                                  std::string_view topic);

// The name of an entry within two edits of `topic`, or "" when none is.
std::string nearest_entry_name(const std::vector<reference_entry>& entries, std::string_view topic);

}  // namespace scenario_tool
