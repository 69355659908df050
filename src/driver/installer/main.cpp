// The generic installer: the same run as the built-in one, for the scenario
// that the authors' tool has sealed at the end of this program's own file.
#include <cstdio>
#include <new>

#include "driver/run_installer.h"
#include "platform/file_system.h"
#include "scenari/generic_installer_mark.h"

#ifdef _WIN32
#define INSTALLER_SYSTEM "windows"
#else
#define INSTALLER_SYSTEM "linux"
#endif

// The mark by which the authors' tool knows this program as the generic
// installer for its system (kept in the program's bytes, never read here).
extern "C" [[gnu::used]] const char generic_installer_mark[] =
    GENERIC_INSTALLER_MARK_WORDS INSTALLER_SYSTEM ";";

int main() {
  // Read once, so that no linker drops the mark as unused.
  static_cast<void>(*static_cast<const volatile char*>(generic_installer_mark));
  platform::prepare_process();
  try {
    auto platform = platform::make_native_platform();
    return driver::run_packaged_installer(*platform);
  } catch (const std::bad_alloc&) {
    std::fputs(driver::out_of_memory_line, stderr);
    std::fputs("\n", stderr);
    return driver::run_failed;
  }
}
