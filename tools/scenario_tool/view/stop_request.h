// How view's server is asked to stop: Ctrl-C at its console (and SIGTERM on
// POSIX), or a call from another thread, as the tests make.
#pragma once

namespace scenario_tool::view {

// Turns Ctrl-C into a request to stop while it lives, and puts the system's
// own handling back after; a request made before it is forgotten.
class stop_on_interrupt {
 public:
  stop_on_interrupt();
  ~stop_on_interrupt();
  stop_on_interrupt(const stop_on_interrupt&) = delete;
  stop_on_interrupt& operator=(const stop_on_interrupt&) = delete;
  bool asked() const;
};

// What Ctrl-C does: the server ends its wait within a fifth of a second.
void ask_server_to_stop();

}  // namespace scenario_tool::view
