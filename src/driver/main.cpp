#include "driver/run_installer.h"

int main() {
  auto platform = platform::make_native_platform();
  return driver::run_installer(*platform);
}
