// Warnings: what the compile accepts without a word but an author almost
// never means. They look at each row as the reader took it (its keyword and
// the fields it read after it) and at each text's bytes as a whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/diagnostic_sink.h"
#include "reader/row_keywords.h"
#include "scenario_tool/compile/diagnostic.h"
#include "scenario_tool/compile/keyword_guess.h"
#include "scenario_tool/compile/source_text.h"
#include "scenario_tool/shared/nearest_word.h"

namespace scenario_tool {

// A row as the reader took it: the offsets of its keyword (first) and of each
// field it read after it.
struct read_row {
  const source_text* text = nullptr;
  model::description_text which = model::description_text::line;
  bool header = false;  // a row of the line text's header
  std::vector<std::size_t> fields;
  // The line's length and last cell once the line text has given them, else -1.
  std::int64_t line_length = -1;
  std::int64_t last_cell = -1;
  bool complete = false;  // the reader took every value and went on
  // The fields the reader read just before the keyword (comments, or the
  // values of the row before), nearest first.
  std::vector<std::size_t> before;
  // The keyword-table entries the reader applied, in order, and the values
  // it read after the keyword (as many as `fields` holds after it).
  std::vector<const reader::row_keyword*> entries;
  std::vector<model::read_value> values;
};

// The entries of the reader's keyword table that a reading names (indices).
std::vector<const reader::row_keyword*> entries_of(const std::vector<std::size_t>& entries);

// Why a comment field was read as a keyword: the two fields before it, each
// a comment, were all the reader skips in a body. Says so when the first of
// them followed a row's last value on its line, which authors do not count
// as a comment line: "line 82 was read as a row because the comment on line
// 80, after the last value of the row there, ...". Empty when `row` is not
// such a field.
std::string third_comment_words(const read_row& row);

// Why a section header was read as a row: "this section header holds the
// keyword 'velocita' and is read as that row"; empty for any other field.
std::string section_header_words(const read_row& row, bool plan);

// Why a field that is no row to an author was read as one: a section header
// holding a keyword, or a third comment field; empty for any other row.
std::string read_as_row_words(const read_row& row, bool plan);

class row_warnings {
 public:
  explicit row_warnings(bool plan) : plan_(plan) {}

  // Adds the warnings about one row to `out`.
  void check(const read_row& row, std::vector<diagnostic>& out);

 private:
  bool plan_;
  std::size_t skipped_line_ = 0;  // line of the last keyword field that read nothing
  const source_text* skipped_text_ = nullptr;
  // The chainage of the last row of each fill, and where the last curve ended.
  std::map<std::string, std::int64_t> last_chainage_;
  // Each fill as the reader runs it: the next cell it writes and the value it
  // writes there (the last row's, as written).
  struct fill_state {
    std::int64_t next_cell = 0;
    std::int64_t value = 0;
    std::size_t line = 0;  // of the row that gave the value; 0: none yet
  };
  std::map<std::string, fill_state> fills_;
  // The text value that ended the row before (a sign's lettering, a
  // station's name): a comma in it ends it early.
  const source_text* text_value_text_ = nullptr;
  std::size_t text_value_at_ = 0;
  std::string_view text_value_noun_;
};

// Whether a field holds only numbers (a sign, digits, several numbers
// separated by blanks), as a number standing where a keyword is expected.
bool is_number(std::string_view field);

// Line ends other than CR LF, bytes that are no Windows-1252 character, and a
// text that looks like UTF-8: at most one warning of each kind, at its first place.
std::vector<diagnostic> encoding_warnings(const source_text& text);

}  // namespace scenario_tool
