// The rows of the texts behind the objects of a picture: each row that put an
// object into cells, with its file, line and text as written, so that a mark
// leads back to the row that made it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "scenario_tool/compile/source_text.h"
#include "scenario_tool/lsp/row_index.h"

namespace scenario_tool {

struct source_row {
  std::string file;                      // the text as named on the command line
  std::size_t line = 0;                  // from 1
  std::string text;                      // the line as written, UTF-8
  std::vector<std::int64_t> cells;       // cells the row's object went into
  std::vector<std::int64_t> walk_cells;  // speed points the walk placed for them
};

// The rows of both texts that filled at least one cell, in reading order.
std::vector<source_row> rows_with_cells(const lsp::row_index& rows, const source_text& line,
                                        const source_text& train);

}  // namespace scenario_tool
