// The keyword matching the authors' tool still does itself, on fields the
// reader did not read as rows: the did-you-mean aside of a keyword that
// matched nothing, the rows after a stop that were never read, a body row
// standing in the line header, and what an editor shows at a place of a text
// the reader has not reached (semantic colours, signature help, quick fixes).
// Everything here calls the reader's own matcher (reader/row_keywords.h);
// a row the reader did read is known by the entries it handed on
// (model::row_reading), never matched again.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/row_reading.h"
#include "reader/row_keywords.h"
#include "scenario_tool/compile/source_text.h"

namespace scenario_tool {

// A keyword of the texts as the reader tests it (reader/row_keywords.h): its
// name, the number of values its row reads, where it stands and whether only
// a compile that builds the plan reads it.
struct keyword_rule {
  std::string_view name;
  std::size_t values;
  model::description_text which;
  bool header;
  bool needs_plan;
  // The reader's entry itself: the values' names and units, what the row is
  // called and what it sets.
  const reader::row_keyword* entry;
};
// Every keyword, in the reader's order.
std::vector<keyword_rule> keyword_rules();
// One entry of the reader's table, as a rule.
keyword_rule rule_of(const reader::row_keyword& entry);
// The keywords whose test a keyword field passes, in that part of a text.
std::vector<keyword_rule> keywords_matching(std::string_view field, model::description_text which,
                                            bool header, bool plan);
// What a row is, by the one keyword test its keyword field passes: its
// keyword, how many values it reads, and what one and several of it are called.
struct known_row {
  std::string_view name;
  std::size_t values = 0;
  std::string_view noun;
  std::string_view plural;
};
// Nothing when the field passes no test or several.
std::optional<known_row> known_row_of(std::string_view keyword, model::description_text which,
                                      bool header, bool plan);

// The keyword within two edits of `keyword` (case ignored) among those of a
// text's part, or "" when none is.
std::string nearest_keyword(const std::string& keyword, model::description_text which, bool header);

// An entry whose test ignores no letter case but that `keyword` passes when
// case is ignored: a slip of the pen for that keyword; null when none is.
const reader::row_keyword* case_slip_of(std::string_view keyword, model::description_text which,
                                        bool header);
// Whether `keyword` holds the curve's keyword, in any letter case (read only
// when the plan is built).
bool names_a_curve(std::string_view keyword);
// Whether `keyword`, standing in the line header where it is skipped, is a
// keyword of the line text's body.
bool names_a_body_row(std::string_view keyword);

// The rows of a text after a stop, which the reader never read, counted by
// what their keywords name.
struct unread_rows {
  std::size_t first_line = 0;
  std::size_t last_line = 0;  // 0: no row follows
  std::string summary;        // "30 signals, 2 stations"
};

// The rows of `text` after line `line` (0: the whole text), each known by the
// one keyword its first field that is no comment passes.
unread_rows rows_after(const source_text& text, std::size_t line, model::description_text which,
                       bool plan);

}  // namespace scenario_tool
