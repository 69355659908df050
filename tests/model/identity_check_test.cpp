#include "model/identity_check.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

namespace {

struct identity_case {
  std::string name;  // the test's name
  std::string route;
  std::string train;
  std::string fault;  // a piece of the refusal; empty when accepted
};

class IdentityCheck : public ::testing::TestWithParam<identity_case> {};

TEST_P(IdentityCheck, RefusesWhatIsNoPlainFileNameOnWindowsAndLinux) {
  const identity_case& c = GetParam();
  const auto fault = model::identity_fault({c.route, c.train});
  if (c.fault.empty()) {
    EXPECT_FALSE(fault.has_value()) << *fault;
  } else {
    ASSERT_TRUE(fault.has_value());
    EXPECT_NE(fault->find(c.fault), std::string::npos) << *fault;
    // Shown on a terminal or in an editor as it is: valid UTF-8.
    EXPECT_NO_THROW((void)nlohmann::json(*fault).dump()) << *fault;
  }
}

const std::string long_route(200, 'a');

INSTANTIATE_TEST_SUITE_P(
    Names, IdentityCheck,
    ::testing::Values(
        // Accepted.
        identity_case{"Shipped", "Brisena_Tarvo", "47306", ""},
        identity_case{"Blanks_dots_and_signs_inside", "Val d'Aosta 2.0", "R-1 bis", ""},
        // Windows-1252 letters: e grave, a grave, n tilde, s caron, the euro sign.
        identity_case{"Accented_letters", "Citt\xE0_Sant'Ag\xE8",
                      "Espa\xF1"
                      "a\x9A\x80",
                      ""},
        identity_case{"Device_name_inside_a_longer_name", "CONSOLE", "COM10", ""},
        identity_case{"Longest_that_fits", std::string(150, 'a'), std::string(64, '7'), ""},
        // Refused: what the route is.
        identity_case{"Empty_route", "", "47306", "the route identifier \"\" is empty"},
        identity_case{"Empty_train", "Brisena_Tarvo", "", "the train number \"\" is empty"},
        identity_case{"Slash", "a/b", "1", "folder separator (/)"},
        identity_case{"Backslash", "a\\b", "1", "folder separator (\\)"},
        identity_case{"Dot_dot", "..", "1", "a folder's name"},
        identity_case{"Dot", "Brisena", ".", "the train number \".\" is a folder's name"},
        identity_case{"Dot_dot_path", "../x", "1", "folder separator"},
        identity_case{"Drive_letter", "C:", "1", "\":\", which a Windows file name cannot hold"},
        identity_case{"Less_than", "a<b", "1", "\"<\""},
        identity_case{"Greater_than", "a>b", "1", "\">\""},
        identity_case{"Double_quote", "a\"b", "1", "\"\"\""},
        identity_case{"Bar", "a|b", "1", "\"|\""},
        identity_case{"Question_mark", "a?b", "1", "\"?\""},
        identity_case{"Star", "a*b", "1", "\"*\""},
        identity_case{"Trailing_dot", "Brisena.", "1", "ends with a dot"},
        identity_case{"Trailing_blank", "Brisena", "47306 ", "ends with a blank"},
        identity_case{"Con", "CON", "1", "is \"CON\", a device name on Windows"},
        identity_case{"Nul_lower_case", "Brisena", "nul", "a device name"},
        identity_case{"Con_with_extension", "CON.txt", "1",
                      "begins with \"CON\", a device name on Windows"},
        identity_case{"Aux_blank_extension", "AUX .x", "1", "a device name"},
        identity_case{"Com1", "COM1", "1", "a device name"},
        identity_case{"Lpt9", "Brisena", "lpt9", "a device name"},
        identity_case{"Com_superscript_one", "COM\xB9", "1",
                      "is \"COM\xC2\xB9\", a device name on Windows"},
        identity_case{"Lpt_superscript_two_with_extension", "Brisena", "lpt\xB2.x",
                      "begins with \"lpt\xC2\xB2\", a device name"},
        identity_case{"Prn", "prn.dat", "1", "a device name"},
        identity_case{"Conin", "CONIN$", "1", "a device name"},
        identity_case{"Conout", "Brisena", "conout$", "a device name"},
        identity_case{"Com0", "COM0", "1", "is \"COM0\", a device name on Windows"},
        identity_case{"Com_superscript_two", "Brisena", "COM\xB2", "a device name"},
        identity_case{"Lpt_superscript_three", "LPT\xB3.txt", "1", "a device name"},
        identity_case{"Tab", "a\tb", "1", "\"a\\x09b\" holds a control character"},
        identity_case{"Newline", "Brisena", "47\n306", "control character"},
        identity_case{"Delete", "a\x7F", "1", "control character"},
        identity_case{"Nul_byte", std::string("a\0b", 3), "1", "control character"},
        identity_case{"Undefined_byte_81", "a\x81", "1", "byte 0x81, which is no Windows-1252"},
        identity_case{"Undefined_byte_9D", "Brisena", "4\x9D", "byte 0x9D"},
        identity_case{"Too_long", long_route, std::string(20, '1'), "too long"},
        identity_case{"Too_long_once_in_utf8", std::string(110, '\xE8'), "1", "too long"}),
    [](const auto& info) { return info.param.name; });

TEST(IdentityLength, CountsTheLongestNameWithItsTemporarySuffix) {
  // "<route>_<train>_rallentamenti.txt" and ".<16 hex digits>.tmp".
  EXPECT_EQ(model::longest_own_name_of({"Brisena_Tarvo", "47306"}),
            std::string("Brisena_Tarvo_47306_rallentamenti.txt.0123456789abcdef.tmp").size());
  // e grave takes two bytes in a Linux file name.
  EXPECT_EQ(model::longest_own_name_of({"\xE8", "1"}),
            std::string("\xC3\xA8_1_rallentamenti.txt.0123456789abcdef.tmp").size());
}

}  // namespace
