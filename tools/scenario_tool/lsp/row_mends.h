// The mends of a row's separators and fields that a diagnostic knows: a row
// whose fields are separated by ';' gets commas, and the numbers a row holds
// beyond the values its keyword reads are removed.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "scenario_tool/lsp/text_document.h"

namespace scenario_tool::lsp {

// One edit of the text: the bytes from `from` to `to` become `text`.
struct row_mend {
  std::string title;
  std::size_t from = 0;
  std::size_t to = 0;
  std::string text;  // Windows-1252
};

// For a row missing values whose keyword field (`from` to `to`, where the
// diagnostic stands) holds ';': that field with each ';' a comma.
std::optional<row_mend> commas_for_semicolons(const text_document& document, std::size_t from,
                                              std::size_t to);

// For a number where a keyword is expected (the field at `at`): the surplus
// fields of the row before removed, from the end of its last value through
// the run of numbers on the same line. Nothing when the number begins its line
// (the row before ends on another line).
std::optional<row_mend> surplus_fields_removed(const text_document& document, std::size_t at);

}  // namespace scenario_tool::lsp
