#include "assembly/check_codes.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "driver/Form1.h"
#include "support/fake_platform.h"

namespace {

struct code_case {
  std::string what;
  std::string train_number;
  std::string route_id;
  std::int32_t plain;
  std::int32_t weighted;
};

void PrintTo(const code_case& c, std::ostream* os) {
  *os << c.what;
}

class CheckCodes : public ::testing::TestWithParam<code_case> {};

TEST_P(CheckCodes, SumTheFirst25CharactersOfTheKey) {
  const code_case& c = GetParam();
  EXPECT_EQ(assembly::plain_check_code(c.train_number, c.route_id), c.plain);
  EXPECT_EQ(assembly::weighted_check_code(c.train_number, c.route_id), c.weighted);
}

// 'z' is 122 and the fill text starts with 'a' (97): 25 z's give 25 * 122 and
// 122 * (1 + ... + 25); 24 z's leave position 25 to the first 'a'.
const std::string z24(24, 'z');
const std::string z25(25, 'z');
const std::string z26(26, 'z');

INSTANTIATE_TEST_SUITE_P(
    Identities, CheckCodes,
    ::testing::Values(code_case{"OneAndAb", "1", "Ab", 2496, 33703},
                      code_case{"OneAndCapitalAB", "1", "AB", 2496, 33703},
                      code_case{"BothEmpty", "", "", 2583, 34355},
                      code_case{"Exactly25UsesNoFill", "", z25, 3050, 39650},
                      code_case{"TwentySixCountsOnly25", z26, "", 3050, 39650},
                      code_case{"TwentyFourTakesOneA", z24, "", 24 * 122 + 97, 122 * 300 + 97 * 25},
                      code_case{"ShippedScenario", "47306", "Brisena_Tarvo", 2339, 32714},
                      // Swapped: the same characters, other weights.
                      code_case{"ShippedScenarioSwapped", "Brisena_Tarvo", "47306", 2339, 29139}),
    [](const auto& info) { return info.param.what; });

TEST(CheckCodeKey, JoinsTrainNumberAndRouteInLowerCaseThenTheFill) {
  EXPECT_EQ(assembly::check_code_key("1", "Ab"), "1abaabbccddeeffgghhiillmm");
  EXPECT_EQ(assembly::check_code_key("", ""), "aabbccddeeffgghhiillmmnno");
  // Accented capitals of the single-byte code page fold too.
  EXPECT_EQ(assembly::check_code_key("\xC8", "\xC0\xD7\xDE"),
            assembly::check_code_key("\xE8", "\xE0\xD7\xFE"));
  EXPECT_EQ(assembly::check_code_key("\xE8", "").front(), '\xE8');
}

TEST(CheckCodeProcedures, ReadTheIdentityFromTheStationTableHeaderEntries) {
  testing_support::fake_platform platform("/opt/sim");
  Form1 form(platform);
  form.model.route_id = "Brisena_Tarvo";
  form.model.train_number = "47306";
  form.model.station(model::entry::train_header).name = "1";
  form.model.station(model::entry::route_header).name = "Ab";
  EXPECT_EQ(form.codice_gara_og(), 2496);
  EXPECT_EQ(form.codice_gara_st(), 33703);
}

}  // namespace
