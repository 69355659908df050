// What the reader hands on for each row it reads: the keyword-table entries
// the keyword field matched, every value it read after it (where it stands in
// the text, the number or text it gave, and the cell a chainage landed in),
// and, when the row recorded an error, which value is at fault and whether
// the reading stopped there. Users read these instead of matching keywords,
// parsing fields or rounding chainages again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace model {

enum class description_text { line, train };

// How an error ends the reading: not at all, the reading of the current
// text (error 15: a row beyond the cells; the pass's tails still run), or the
// reader altogether (an error exit: nothing more is read).
enum class reading_stop : std::uint8_t { none, text, reader };

// One field of a row as the reader took it. `offset` and `length` are bytes
// of the text (the field without the blanks around it); a text value is
// those bytes.
struct read_value {
  std::size_t offset = 0;
  std::size_t length = 0;
  // The number the field gave; empty for a text value and for a field that
  // could not be read as a number (the reading failed there).
  std::optional<std::int32_t> number;
  bool is_text = false;  // a text value (a sign's lettering, a station's name)
  // The track cell a chainage value landed in, by the reader's rule for it.
  std::optional<std::int64_t> cell;
};

struct row_reading {
  description_text text = description_text::line;
  bool header = false;  // a row of the line text's header
  read_value keyword;
  // Indices into the reader's keyword table (reader::row_keywords) of every
  // entry the keyword field passed, in the order they were applied; each
  // reads its own values, one entry's after the other's.
  std::vector<std::size_t> entries;
  std::vector<read_value> values;   // every value read after the keyword, in order
  std::vector<std::int64_t> cells;  // cells the row put an object into, in order
  // For an error of a cell that is not free (6, 7, 16 to 21): the cell found taken.
  std::optional<std::int64_t> taken_cell;
  bool complete = false;  // every value was read and the reader went on
  // The error the row recorded (0: none), the value at fault (0 is the
  // keyword, 1 the first value after it) and how the reading ended there.
  std::int32_t error = 0;
  std::size_t field_at_fault = 0;
  reading_stop stop = reading_stop::none;
};

}  // namespace model
