// The few socket calls view's server makes, the same on every system: a
// listener on the loopback address, the browsers' connections, and one wait
// on them all. Each system's means live in loopback_socket_<system>.cpp.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace scenario_tool::view {

// A socket: a descriptor on POSIX, a SOCKET on Windows.
using socket_handle = std::intptr_t;
inline constexpr socket_handle no_socket = -1;

// Holds the system's socket library while it lives (Windows asks for it
// before the first socket; POSIX needs nothing).
class socket_library {
 public:
  socket_library();
  ~socket_library();
  socket_library(const socket_library&) = delete;
  socket_library& operator=(const socket_library&) = delete;
  // Why the library could not be had; empty when it is ready.
  const std::string& failure() const { return failure_; }

 private:
  std::string failure_;
};

struct listen_result {
  socket_handle socket = no_socket;
  bool port_in_use = false;  // another program holds the port
  std::string failure;       // the system's words, when no socket
};
// A socket listening on 127.0.0.1:port, and on no other address.
listen_result listen_on_loopback(int port);

// A connection to 127.0.0.1:port, or no_socket (for the tools and tests that
// talk to view as a browser would).
socket_handle connect_to_loopback(int port);

socket_handle accept_client(socket_handle listener);
// The bytes read into `buffer`: 0 when the other end has closed, below 0 on
// a failure.
std::ptrdiff_t receive_some(socket_handle s, char* buffer, std::size_t size);
// Writes all of `bytes`; false when the other end has gone.
bool send_all(socket_handle s, std::string_view bytes);
void close_socket(socket_handle s);

struct wait_result {
  std::vector<bool> readable;  // per socket waited on: data, a connection or a close
  bool notice = false;         // the notice descriptor can be read
  bool failed = false;
};
// Waits at most `timeout` until one of `sockets` or the notice descriptor
// (a file watch's, -1 for none; only POSIX has them) can be read.
wait_result wait_readable(const std::vector<socket_handle>& sockets, int notice,
                          std::chrono::milliseconds timeout);

}  // namespace scenario_tool::view
