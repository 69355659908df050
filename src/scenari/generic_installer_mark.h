// How the authors' tool knows the generic installer among other programs: the
// generic installer carries, in its own bytes, the mark's words followed by
// the name of the system it runs on and a semicolon ("... for linux;").
// Only the generic installer holds the whole mark: it is joined at compile
// time there (GENERIC_INSTALLER_MARK), while the tool builds the text it looks
// for while it runs, so that no other program of the project carries it.
#pragma once

#include <string>
#include <string_view>

namespace scenari {

#define GENERIC_INSTALLER_MARK_WORDS "scenario installer, generic, for "

inline constexpr std::string_view generic_installer_mark_words = GENERIC_INSTALLER_MARK_WORDS;

// The system's name in the mark: "linux" or "windows".
inline std::string generic_installer_mark(std::string_view system) {
  std::string mark(generic_installer_mark_words);
  mark.append(system);
  mark.push_back(';');
  return mark;
}

}  // namespace scenari
