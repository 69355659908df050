#ifndef _WIN32
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "scenario_tool/view/loopback_socket.h"

namespace scenario_tool::view {

namespace {

int fd_of(socket_handle s) {
  return static_cast<int>(s);
}

sockaddr_in loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

}  // namespace

socket_library::socket_library() = default;
socket_library::~socket_library() = default;

listen_result listen_on_loopback(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return {no_socket, false, std::strerror(errno)};
  // A port left in TIME_WAIT by the last run is free to take again.
  const int yes = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  const sockaddr_in address = loopback(port);
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(fd, 16) != 0) {
    const int saved = errno;
    ::close(fd);
    return {no_socket, saved == EADDRINUSE, std::strerror(saved)};
  }
  return {fd, false, {}};
}

socket_handle connect_to_loopback(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return no_socket;
  const sockaddr_in address = loopback(port);
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd);
    return no_socket;
  }
  return fd;
}

socket_handle accept_client(socket_handle listener) {
  const int fd = ::accept4(fd_of(listener), nullptr, nullptr, SOCK_CLOEXEC);
  return fd < 0 ? no_socket : fd;
}

std::ptrdiff_t receive_some(socket_handle s, char* buffer, std::size_t size) {
  for (;;) {
    const ssize_t n = ::recv(fd_of(s), buffer, size, 0);
    if (n < 0 && errno == EINTR) continue;
    return n;
  }
}

bool send_all(socket_handle s, std::string_view bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    // No SIGPIPE when the browser has gone: the write fails instead.
    const ssize_t n = ::send(fd_of(s), bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

void close_socket(socket_handle s) {
  if (s != no_socket) ::close(fd_of(s));
}

wait_result wait_readable(const std::vector<socket_handle>& sockets, int notice,
                          std::chrono::milliseconds timeout) {
  std::vector<pollfd> polled;
  polled.reserve(sockets.size() + 1);
  for (const socket_handle s : sockets) polled.push_back({fd_of(s), POLLIN, 0});
  polled.push_back({notice, POLLIN, 0});  // a negative descriptor is passed over
  wait_result result;
  result.readable.assign(sockets.size(), false);
  const int ready = ::poll(polled.data(), polled.size(), static_cast<int>(timeout.count()));
  if (ready < 0) {
    result.failed = errno != EINTR;
    return result;
  }
  for (std::size_t i = 0; i < sockets.size(); ++i) result.readable[i] = polled[i].revents != 0;
  result.notice = polled.back().revents != 0;
  return result;
}

}  // namespace scenario_tool::view
#endif
