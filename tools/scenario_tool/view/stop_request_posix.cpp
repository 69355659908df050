#ifndef _WIN32
#include <signal.h>

#include <atomic>

#include "scenario_tool/view/stop_request.h"

namespace scenario_tool::view {

namespace {

// Written by a signal handler: it must be lock-free.
std::atomic<bool> stop_asked{false};
static_assert(std::atomic<bool>::is_always_lock_free);

struct sigaction old_int {};
struct sigaction old_term {};

extern "C" void on_signal(int) {
  stop_asked.store(true);
}

}  // namespace

void ask_server_to_stop() {
  stop_asked.store(true);
}

stop_on_interrupt::stop_on_interrupt() {
  stop_asked.store(false);
  struct sigaction action {};
  action.sa_handler = on_signal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, &old_int);
  sigaction(SIGTERM, &action, &old_term);
}

stop_on_interrupt::~stop_on_interrupt() {
  sigaction(SIGINT, &old_int, nullptr);
  sigaction(SIGTERM, &old_term, nullptr);
}

bool stop_on_interrupt::asked() const {
  return stop_asked.load();
}

}  // namespace scenario_tool::view
#endif
