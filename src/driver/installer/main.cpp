// The generic installer: the same run as the built-in one, for the scenario
// that the authors' tool has sealed at the end of this program's own file.
#include <cstdio>
#include <new>

#include "driver/run_installer.h"
#include "platform/file_system.h"

int main() {
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
