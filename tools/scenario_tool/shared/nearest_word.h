// The nearest of some names to a word an author or user typed, for "did you
// mean" suggestions.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace scenario_tool {

// Insertions, deletions and substitutions from `a` to `b`, ASCII case ignored.
std::size_t edit_distance(std::string_view a, std::string_view b);

// The candidate nearest to `word`, when it is within `most` edits of it; "" otherwise.
std::string nearest_word(std::string_view word, const std::vector<std::string>& candidates,
                         std::size_t most = 2);

}  // namespace scenario_tool
