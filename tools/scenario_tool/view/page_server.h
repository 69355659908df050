// The server of view: GET /, /data.json and /events (server-sent events) on
// 127.0.0.1, one thread, woken by the saving of a watched file. The same on
// every system; the sockets and Ctrl-C go through loopback_socket.h and
// stop_request.h.
#pragma once

#include <iosfwd>

#include "scenario_tool/view/line_source.h"

namespace scenario_tool::view {

// Serves until Ctrl-C (or SIGTERM on POSIX, or ask_server_to_stop); returns
// the tool's exit status. A port in use gets a line saying so and the next
// free one.
int serve(const line_source& source, int port, std::ostream& out, std::ostream& err);

}  // namespace scenario_tool::view
