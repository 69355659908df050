#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <string>
#include <system_error>

#include "scenario_tool/view/loopback_socket.h"

namespace scenario_tool::view {

namespace {

SOCKET socket_of(socket_handle s) {
  return static_cast<SOCKET>(s);
}

socket_handle handle_of(SOCKET s) {
  return s == INVALID_SOCKET ? no_socket : static_cast<socket_handle>(s);
}

std::string words_of(int code) {
  return std::system_category().message(code) + " (" + std::to_string(code) + ")";
}

sockaddr_in loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<u_short>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

}  // namespace

socket_library::socket_library() {
  WSADATA data;
  if (const int code = ::WSAStartup(MAKEWORD(2, 2), &data); code != 0) failure_ = words_of(code);
}

socket_library::~socket_library() {
  if (failure_.empty()) ::WSACleanup();
}

listen_result listen_on_loopback(int port) {
  const SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return {no_socket, false, words_of(::WSAGetLastError())};
  // Windows lets a second socket take a port with SO_REUSEADDR; exclusive use
  // makes a port in use fail to bind, as on other systems.
  const BOOL yes = TRUE;
  ::setsockopt(s, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&yes), sizeof yes);
  const sockaddr_in address = loopback(port);
  if (::bind(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(s, 16) != 0) {
    const int code = ::WSAGetLastError();
    ::closesocket(s);
    // A port held by another program with exclusive use is refused as access.
    return {no_socket, code == WSAEADDRINUSE || code == WSAEACCES, words_of(code)};
  }
  return {handle_of(s), false, {}};
}

socket_handle connect_to_loopback(int port) {
  const SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return no_socket;
  const sockaddr_in address = loopback(port);
  if (::connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    ::closesocket(s);
    return no_socket;
  }
  return handle_of(s);
}

socket_handle accept_client(socket_handle listener) {
  return handle_of(::accept(socket_of(listener), nullptr, nullptr));
}

std::ptrdiff_t receive_some(socket_handle s, char* buffer, std::size_t size) {
  const int wanted = static_cast<int>(std::min<std::size_t>(size, 1 << 20));
  const int n = ::recv(socket_of(s), buffer, wanted, 0);
  return n == SOCKET_ERROR ? -1 : n;
}

bool send_all(socket_handle s, std::string_view bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const int chunk = static_cast<int>(std::min<std::size_t>(bytes.size() - sent, 1 << 20));
    const int n = ::send(socket_of(s), bytes.data() + sent, chunk, 0);
    if (n == SOCKET_ERROR || n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

void close_socket(socket_handle s) {
  if (s != no_socket) ::closesocket(socket_of(s));
}

wait_result wait_readable(const std::vector<socket_handle>& sockets, int,
                          std::chrono::milliseconds timeout) {
  wait_result result;
  result.readable.assign(sockets.size(), false);
  std::vector<WSAPOLLFD> polled;
  polled.reserve(sockets.size());
  for (const socket_handle s : sockets) polled.push_back({socket_of(s), POLLRDNORM, 0});
  if (polled.empty()) {
    ::Sleep(static_cast<DWORD>(timeout.count()));
    return result;
  }
  const int ready = ::WSAPoll(polled.data(), static_cast<ULONG>(polled.size()),
                              static_cast<INT>(timeout.count()));
  if (ready == SOCKET_ERROR) {
    result.failed = true;
    return result;
  }
  for (std::size_t i = 0; i < sockets.size(); ++i) result.readable[i] = polled[i].revents != 0;
  return result;
}

}  // namespace scenario_tool::view
#endif
