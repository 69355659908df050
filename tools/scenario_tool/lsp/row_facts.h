// Facts about one row that hover, symbols and completion share: where it
// stands in its text, what its keyword matched, its values and its chainage.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "scenario_tool/compile/warnings.h"
#include "scenario_tool/lsp/analysis.h"

namespace scenario_tool::lsp {

const source_text& text_of(const analysis& a, model::description_text which);

// The keyword's name in the keyword table for a row read with `keyword`; for
// curves the table's "curva".
std::vector<keyword_rule> row_keywords(const analysis& a, const read_row& row);

// Whether the row's first value is a chainage along the line, where the row
// puts something (the header's rows are not placed along it).
bool starts_with_chainage(const reader::row_keyword& entry);

// Byte offset just after the row's last field.
std::size_t row_end(const source_text& text, const read_row& row);

// The row whose fields cover `offset`, else the one whose keyword stands on
// the same line; nullptr when none.
const read_row* row_at(const analysis& a, model::description_text which, std::size_t offset);

// Where a chainage lies on the kilometre posts a driver reads, which follow
// the line text's kilometric references: "km 4+050" for 16850 m past a
// reference at 12800 m; the chainage itself, "16850 m", while nothing has
// been compiled.
std::string post_kilometres(const analysis& a, std::int64_t metres);

// The chainage with its place on the posts: "16850 m, km 4+050 on the
// kilometre posts"; the chainage alone while nothing has been compiled.
std::string chainage_words(const analysis& a, std::int64_t metres);

// The chainage of a row whose first value is one.
std::optional<std::int64_t> row_chainage(const analysis& a, const read_row& row);

// A field's text as UTF-8.
std::string field_text(const source_text& text, std::size_t offset, bool number);

}  // namespace scenario_tool::lsp
