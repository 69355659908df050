#include "scenario_tool/shared/failure_words.h"

#include <filesystem>
#include <new>

namespace scenario_tool {

std::string failure_words(const std::exception& failure) {
  if (const auto* fs = dynamic_cast<const std::filesystem::filesystem_error*>(&failure)) {
    const std::string reason = fs->code().message();
    if (fs->path1().empty()) return reason;
    return fs->path1().string() + ": " + reason;
  }
  if (dynamic_cast<const std::bad_alloc*>(&failure) != nullptr) return "out of memory";
  return failure.what();
}

}  // namespace scenario_tool
