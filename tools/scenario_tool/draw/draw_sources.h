// What draw reads: a line and a train description text, compiled in memory
// with the library, or the compiled files of a folder.
#pragma once

#include <filesystem>

#include "scenario_tool/draw/line_drawing.h"

namespace scenario_tool {

// Reads both texts (never changing them), runs the reader, keeps the cells
// as the texts gave them, then runs the walk and the header stamps. Errors
// the compiler records become notes of the picture; throws
// std::runtime_error when the texts give no line at all.
line_picture picture_from_texts(const std::filesystem::path& line_text,
                                const std::filesystem::path& train_text);

// The three compiled files of the one station table (.sim) in `folder`;
// throws std::runtime_error when they cannot be found or decoded.
line_picture picture_from_folder(const std::filesystem::path& folder);

}  // namespace scenario_tool
