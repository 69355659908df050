#include <gtest/gtest.h>

#include "driver/Form1.h"
#include "driver/run_stopped.h"
#include "support/fake_platform.h"

namespace {

struct errore_case {
  std::string a;
  std::string message;
};

void PrintTo(const errore_case& c, std::ostream* os) {
  *os << (c.a.empty() ? "empty" : c.a);
}

class Errore : public ::testing::TestWithParam<errore_case> {};

TEST_P(Errore, ShowsTheNumberedMessageAndStopsTheRun) {
  testing_support::fake_platform platform("/opt/sim");
  Form1 form(platform);
  EXPECT_THROW(form.errore(GetParam().a), driver::run_stopped);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0], GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(Numbers, Errore,
                         ::testing::Values(errore_case{"1250", " Errore n. 1250"},
                                           errore_case{"1251", " Errore n. 1251"},
                                           errore_case{"", " Errore n. "}),
                         [](const auto& info) {
                           return info.param.a.empty() ? std::string("Empty") : "N" + info.param.a;
                         });

TEST(ErroreMessage, KeepsItsLeadingBlankAndIsFifteenCharactersFor1250) {
  testing_support::fake_platform platform("/opt/sim");
  Form1 form(platform);
  EXPECT_THROW(form.errore("1250"), driver::run_stopped);
  EXPECT_EQ(platform.messages.at(0).size(), 15u);
  EXPECT_EQ(platform.messages.at(0).front(), ' ');
}

}  // namespace
