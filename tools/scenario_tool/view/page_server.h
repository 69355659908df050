// The server of view (POSIX): GET /, /data.json and /events (server-sent
// events) on 127.0.0.1, one thread, woken by the saving of a watched file.
#pragma once

#include <iosfwd>

#include "scenario_tool/view/line_source.h"

namespace scenario_tool::view {

// Serves until SIGINT or SIGTERM; returns the tool's exit status. A port in
// use gets a line saying so and the next free one.
int serve(const line_source& source, int port, std::ostream& out, std::ostream& err);

}  // namespace scenario_tool::view
