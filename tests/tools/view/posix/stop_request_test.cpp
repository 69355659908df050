// Ctrl-C (SIGINT) and SIGTERM ask view's server to stop while it serves, and
// the handling the program had before comes back when it ends.
#include "scenario_tool/view/stop_request.h"

#include <gtest/gtest.h>
#include <signal.h>

namespace {

using scenario_tool::view::ask_server_to_stop;
using scenario_tool::view::stop_on_interrupt;

TEST(StopRequest, SigintAndSigtermAskToStopAndTheFormerHandlingComesBack) {
  for (const int signal_number : {SIGINT, SIGTERM}) {
    SCOPED_TRACE(signal_number);
    struct sigaction before {};
    ASSERT_EQ(sigaction(signal_number, nullptr, &before), 0);
    ask_server_to_stop();  // a request from before the server began is not its own
    {
      const stop_on_interrupt stop;
      EXPECT_FALSE(stop.asked());
      ASSERT_EQ(raise(signal_number), 0);  // the process lives on: the server stops
      EXPECT_TRUE(stop.asked());
    }
    struct sigaction after {};
    ASSERT_EQ(sigaction(signal_number, nullptr, &after), 0);
    EXPECT_EQ(after.sa_handler, before.sa_handler);
  }
}

}  // namespace
