// What draw reads: a line and a train description text, compiled in memory
// with the library, or the compiled files of a folder.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "model/scenario_identity.h"
#include "scenario_tool/compile/diagnostic.h"
#include "scenario_tool/draw/line_drawing.h"
#include "scenario_tool/draw/source_rows.h"

namespace scenario_tool {

// The picture of two texts, with the compile's diagnostics of them.
struct drawn_texts {
  line_picture picture;  // no cells when the texts give no line at all
  std::vector<diagnostic> diagnostics;
  bool stopped = false;          // the compile would stop and write no file
  std::vector<source_row> rows;  // the rows that put objects into cells
};

// Reads both texts (never changing them) and compiles them in memory as
// compile does, keeping the cells as the texts gave them before the walk.
// The errors become notes of the picture. The identity is `named`, else the
// one the texts' names give.
drawn_texts picture_from_texts(const std::filesystem::path& line_text,
                               const std::filesystem::path& train_text,
                               const model::scenario_identity* named = nullptr);

// The three compiled files of the one station table (.sim) in `folder`, or of
// train `train` when it is not empty; throws std::runtime_error when they
// cannot be found or decoded.
line_picture picture_from_folder(const std::filesystem::path& folder, const std::string& train);

}  // namespace scenario_tool
