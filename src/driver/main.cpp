#include <cstdio>
#include <new>

#include "driver/run_installer.h"
#include "platform/file_system.h"

int main() {
  platform::prepare_process();
  try {
    auto platform = platform::make_native_platform();
    return driver::run_installer(*platform);
  } catch (const std::bad_alloc&) {
    std::fputs(driver::out_of_memory_line, stderr);
    std::fputs("\n", stderr);
    return driver::run_failed;
  }
}
