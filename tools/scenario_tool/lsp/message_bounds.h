// What the language server takes as one message, whatever an editor (or
// anything else on its input) sends: JSON nested no deeper than any message
// of the protocol needs, checked before a value is built from it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace scenario_tool::lsp {

// The deepest nesting of arrays and objects a message may have; the
// protocol's messages stay below 20.
inline constexpr std::size_t deepest_message = 64;

// The most diagnostics published for one text; the rest are counted in one
// more, a note on the first of them.
inline constexpr std::size_t most_published_diagnostics = 100;

// Why `body` is no message to parse (not JSON, or nested too deep); nothing
// when it is JSON within the bound. Takes memory for its nesting only.
std::optional<std::string> message_fault(std::string_view body);

}  // namespace scenario_tool::lsp
