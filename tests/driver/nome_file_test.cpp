#include <gtest/gtest.h>

#include "driver/Form1.h"
#include "support/fake_platform.h"

namespace {

struct name_case {
  std::string name;
  std::string folder;
  char separator;
  std::string expected;
};

void PrintTo(const name_case& c, std::ostream* os) {
  *os << c.name;
}

class NomeFile : public ::testing::TestWithParam<name_case> {};

TEST_P(NomeFile, JoinsFolderSeparatorAndOwnName) {
  testing_support::fake_platform platform(GetParam().folder, GetParam().separator);
  Form1 form(platform);
  EXPECT_EQ(form.nome_file("Brisena_Tarvo_linea.dat").string(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, NomeFile,
    ::testing::Values(name_case{"Folder", "/opt/sim", '/', "/opt/sim/Brisena_Tarvo_linea.dat"},
                      // At the root the separator is doubled and kept.
                      name_case{"Root", "/", '/', "//Brisena_Tarvo_linea.dat"},
                      name_case{"BackslashFolder", "C:\\Sim", '\\',
                                "C:\\Sim\\Brisena_Tarvo_linea.dat"},
                      name_case{"BackslashRoot", "C:\\", '\\', "C:\\\\Brisena_Tarvo_linea.dat"}),
    [](const auto& info) { return info.param.name; });

TEST(NomeFileFolder, IsAskedAnewForEveryName) {
  testing_support::fake_platform platform("/opt/sim");
  Form1 form(platform);
  form.nome_file("a");
  form.nome_file("b");
  EXPECT_EQ(platform.folder_queries, 2);
}

}  // namespace
