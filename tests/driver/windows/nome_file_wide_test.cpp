// File names on Windows keep the program folder's wide characters: nothing on
// the way narrows them to the ANSI code page.
#include <gtest/gtest.h>

#include <string>

#include "driver/Form1.h"
#include "support/fake_platform.h"

namespace {

struct wide_case {
  const char* name;
  std::wstring folder;
  std::wstring expected;
};

void PrintTo(const wide_case& c, std::ostream* out) {
  *out << c.name;
}

class NomeFileWide : public ::testing::TestWithParam<wide_case> {};

TEST_P(NomeFileWide, KeepsTheFolderAsItIs) {
  testing_support::fake_platform platform(GetParam().folder, '\\');
  const Form1 form(platform);
  EXPECT_EQ(form.nome_file("Brisena_Tarvo_47306.sim").wstring(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, NomeFileWide,
    ::testing::Values(
        wide_case{"GreekCyrillicAndSpaces",
                  L"C:\\Scenari \u0395\u03bb\u03bb\u03ac\u03b4\u03b1 \u041c\u0438\u0440",
                  L"C:\\Scenari \u0395\u03bb\u03bb\u03ac\u03b4\u03b1 "
                  L"\u041c\u0438\u0440\\Brisena_Tarvo_47306.sim"},
        wide_case{"Japanese", L"D:\\\u65e5\u672c", L"D:\\\u65e5\u672c\\Brisena_Tarvo_47306.sim"},
        // At a drive's root the separator is doubled and kept.
        wide_case{"DriveRoot", L"E:\\", L"E:\\\\Brisena_Tarvo_47306.sim"},
        wide_case{"NetworkShare", L"\\\\server\\sim", L"\\\\server\\sim\\Brisena_Tarvo_47306.sim"}),
    [](const ::testing::TestParamInfo<wide_case>& info) { return std::string(info.param.name); });

}  // namespace
