// One problem found in a compile: an error code the compile recorded, a stop,
// or a warning about something the compile accepts silently.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "scenario_tool/compile/source_text.h"

namespace scenario_tool {

// A note adds to the diagnostic before it (the row that caused a fault found
// later, what a stop left unread); it is counted as neither.
enum class severity { error, warning, note };

struct diagnostic {
  severity level = severity::error;
  std::string file;                      // the text as named on the command line; empty for none
  std::size_t line = 0;                  // from 1; 0 when the problem has no place in a text
  std::size_t column = 0;                // from 1
  std::size_t end_column = 0;            // just after the field at fault; 0 with no column
  std::string row;                       // the line as written (Windows-1252 bytes)
  std::int32_t code = 0;                 // the recorded error code, 0 for a stop or a warning
  std::optional<std::int32_t> position;  // metres, for codes that come with one
  std::string text;  // a warning's or a stop's words; for a code, what follows its meaning
  // For a code: words that replace its general meaning, when they say better
  // what happened (empty: the meaning).
  std::string headline;
  // The stable name of a named warning (as on the command line's -W), empty
  // for a recorded code or a stop; a note carries the name of what it adds to.
  std::string name;
  // What the field at fault would be written as to say what the compile
  // does with it (Windows-1252), when that is known: an editor offers it.
  std::string mend;

  // "meaning: text (at M m)" for a recorded code, else the text.
  std::string message() const;
};

// A diagnostic at a byte offset of a text.
diagnostic diagnostic_at(const source_text& text, std::size_t offset, severity level);
// A diagnostic about a whole text, or (with no text) about the run.
diagnostic diagnostic_for(const source_text* text, severity level);

}  // namespace scenario_tool
