#include <gtest/gtest.h>

#include <stdexcept>

#include "driver/Form1.h"
#include "driver/run_installer.h"
#include "platform/replace_file.h"
#include "support/fake_platform.h"

namespace {

using testing_support::fake_platform;

TEST(GuardedRun, ACleanRunEndsWithStatusZeroAndSaysNothing) {
  fake_platform platform("/opt/sim");
  Form1 form(platform);
  EXPECT_EQ(driver::guarded_run(platform, [&]() -> const Form1& { return form; }), 0);
  EXPECT_TRUE(platform.failures.empty());
  EXPECT_TRUE(platform.messages.empty());
}

TEST(GuardedRun, ErroreEndsWithANonZeroStatusAfterItsOwnMessageOnly) {
  for (const std::string& a : {std::string("1250"), std::string("1251"), std::string()}) {
    fake_platform platform("/opt/sim");
    Form1 form(platform);
    const int status = driver::guarded_run(platform, [&]() -> const Form1& {
      form.errore(a);
      ADD_FAILURE() << "errore returned";
      return form;
    });
    EXPECT_EQ(status, 1) << a;
    EXPECT_EQ(platform.messages, std::vector<std::string>{" Errore n. " + a});
    EXPECT_TRUE(platform.failures.empty());
    EXPECT_EQ(platform.windows_destroyed, 1) << "by errore, and not again by the guard";
  }
}

TEST(GuardedRun, AFailedStepEndsWithOneLineNamingTheFileAndReason) {
  fake_platform platform("/opt/sim");
  const int status = driver::guarded_run(platform, []() -> const Form1& {
    throw platform::file_error("/opt/sim/Brisena_Tarvo_47306.sim", "replace", "Is a directory");
  });
  EXPECT_EQ(status, 1);
  EXPECT_EQ(platform.windows_destroyed, 1);
  ASSERT_EQ(platform.failures.size(), 1u);
  EXPECT_EQ(platform.failures[0],
            "cannot replace /opt/sim/Brisena_Tarvo_47306.sim: Is a directory");
}

TEST(GuardedRun, ARecordedErrorIsNamedWithItsMeaningAndPosition) {
  struct recorded_case {
    std::int32_t code, position;
    std::string read_failure;
    std::string line;
  };
  const std::string bad_number = "Brisena_Tarvo_linea.txt: not a number: \"x\" (line 4)";
  const recorded_case cases[] = {
      {22, 28350, "",
       "scenario error 22: platform starts less than 350 m after the previous station's platform "
       "(at 28350 m)"},
      {25, 400, "", "scenario error 25: the description texts could not be read"},
      {25, 400, bad_number,
       "scenario error 25: the description texts could not be read (" + bad_number + ")"},
      // A later error replaces the reader's: its detail no longer applies.
      {13, 17500, bad_number,
       "scenario error 13: no room for a speed point through or after a slowdown (at 17500 m)"},
  };
  for (const auto& c : cases) {
    fake_platform platform("/opt/sim");
    Form1 form(platform);
    form.model.record_error(c.code, c.position);
    form.model.read_failure = c.read_failure;
    EXPECT_EQ(driver::guarded_run(platform, [&]() -> const Form1& { return form; }), 2);
    EXPECT_EQ(platform.failures, std::vector<std::string>{c.line});
  }
}

}  // namespace
