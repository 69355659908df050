// The six files a run of the installer leaves for the scenario it carries
// built in, byte for byte as recorded (see support/golden.h).
#include <gtest/gtest.h>

#include <string>

#include "driver/run_installer.h"
#include "support/fake_platform.h"
#include "support/golden.h"
#include "support/temp_folder.h"

namespace {

TEST(GoldenOutputs, TheInstallersSixFilesAreAsRecorded) {
  testing_support::temp_folder folder;
  testing_support::fake_platform platform(folder.path().string());
  ASSERT_EQ(driver::run_installer(platform), driver::clean_run);
  const std::string files[] = {
      "Brisena_Tarvo_47306_note.txt",
      "Brisena_Tarvo_47306_rallentamenti.txt",
      "Brisena_Tarvo_47306_scheda_treno.txt",
      "Brisena_Tarvo_linea.dat",
      "Brisena_Tarvo_47306.sim",
      "Brisena_Tarvo_47306.dat",
  };
  for (const std::string& name : files) {
    SCOPED_TRACE(name);
    testing_support::expect_golden("installer/" + name, folder.read(name));
  }
}

}  // namespace
