// Files the tool writes by name (an --svg page, the example texts, compiled
// files): replaced only where a regular file, a link or nothing stands.
#pragma once

#include <filesystem>
#include <string_view>

namespace scenario_tool {

// Throws platform::file_error naming `file` when what stands at that name is
// neither a regular file, nor a link to a regular file or to nothing (which is
// replaced by the file, never followed), nor nothing: a device, a pipe, a
// socket or a folder, or a link to one (/dev/stdout), is never written over.
void check_output_name(const std::filesystem::path& file);

// Checks the name as above, then replaces the file as a whole with `bytes`.
void replace_output_file(const std::filesystem::path& file, std::string_view bytes);

}  // namespace scenario_tool
