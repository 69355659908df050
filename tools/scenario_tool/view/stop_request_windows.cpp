#ifdef _WIN32
#include <windows.h>

#include <atomic>

#include "scenario_tool/view/stop_request.h"

namespace scenario_tool::view {

namespace {

std::atomic<bool> stop_asked{false};

// Runs on a thread of its own that the console starts for the event.
BOOL WINAPI on_console_event(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  stop_asked.store(true);
  return TRUE;  // handled: the process is not ended there and then
}

}  // namespace

void ask_server_to_stop() {
  stop_asked.store(true);
}

stop_on_interrupt::stop_on_interrupt() {
  stop_asked.store(false);
  ::SetConsoleCtrlHandler(on_console_event, TRUE);
}

stop_on_interrupt::~stop_on_interrupt() {
  ::SetConsoleCtrlHandler(on_console_event, FALSE);
}

bool stop_on_interrupt::asked() const {
  return stop_asked.load();
}

}  // namespace scenario_tool::view
#endif
