// file: URIs as editors send them, and the paths they name.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace scenario_tool::lsp {

// The path of a file: URI; nothing for another scheme or a malformed one.
std::optional<std::filesystem::path> path_from_uri(const std::string& uri);
// The file: URI of an absolute path, every byte but the unreserved ones and
// the separators percent-encoded.
std::string uri_from_path(const std::filesystem::path& path);

}  // namespace scenario_tool::lsp
