#ifndef _WIN32
#include "scenario_tool/view/page_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "scenario_tool/draw/html_page.h"
#include "scenario_tool/tool.h"
#include "scenario_tool/view/file_watch.h"
#include "scenario_tool/view/http_request.h"

namespace scenario_tool::view {

namespace {

volatile std::sig_atomic_t stop_asked = 0;

extern "C" void ask_stop(int) {
  stop_asked = 1;
}

struct client {
  int fd = -1;
  std::string received;
  bool events = false;  // an open event stream
  std::chrono::steady_clock::time_point since;
};

// Writes all of `bytes`; false when the browser has gone.
bool send_all(int fd, const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

std::string response(const std::string& status, const std::string& type, const std::string& body,
                     bool with_body) {
  return "HTTP/1.1 " + status + "\r\nContent-Type: " + type +
         "\r\nContent-Length: " + std::to_string(body.size()) +
         "\r\nCache-Control: no-store\r\nConnection: close\r\n\r\n" + (with_body ? body : "");
}

// A listening socket on 127.0.0.1:port, or -1 with errno set.
int listen_on(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return -1;
  const int yes = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(fd, 16) != 0) {
    const int saved = errno;
    ::close(fd);
    errno = saved;
    return -1;
  }
  return fd;
}

}  // namespace

int serve(const line_source& source, int port, std::ostream& out, std::ostream& err) {
  made_page page = make_page(source);
  err << page.diagnostics << std::flush;
  std::string stamps = file_stamps(page.watched);

  int listener = -1;
  for (int tries = 0; tries < 50 && port <= 65535; ++tries, ++port) {
    listener = listen_on(port);
    if (listener >= 0) break;
    if (errno != EADDRINUSE) {
      err << "scenario_tool view: cannot listen on 127.0.0.1:" << port << ": "
          << std::strerror(errno) << '\n';
      return status_failed;
    }
    err << "scenario_tool view: port " << port << " is in use; trying " << port + 1 << '\n';
  }
  if (listener < 0) {
    err << "scenario_tool view: no free port found\n";
    return status_failed;
  }
  out << "Serving the line's page on http://127.0.0.1:" << port
      << "/ (it reloads when a text is saved; Ctrl-C ends)" << std::endl;

  struct sigaction action {};
  action.sa_handler = ask_stop;
  sigemptyset(&action.sa_mask);
  struct sigaction old_int {
  }, old_term{};
  stop_asked = 0;
  sigaction(SIGINT, &action, &old_int);
  sigaction(SIGTERM, &action, &old_term);

  std::vector<client> clients;
  std::uint64_t generation = 0;
  // The kernel's notices say at once when a file is saved; the files' times
  // are compared too, seldom when notices come and often when none can.
  auto watch = std::make_unique<file_watch>(page.watched);
  const auto compare_every = [&] {
    return watch->descriptor() >= 0 ? std::chrono::milliseconds(1000)
                                    : std::chrono::milliseconds(60);
  };
  auto last_poll = std::chrono::steady_clock::now();
  while (!stop_asked) {
    std::vector<pollfd> watched{{listener, POLLIN, 0}, {watch->descriptor(), POLLIN, 0}};
    constexpr std::size_t first_client = 2;
    for (const client& c : clients) watched.push_back({c.fd, POLLIN, 0});
    const int ready =
        ::poll(watched.data(), watched.size(),
               static_cast<int>(std::min<std::int64_t>(200, compare_every().count())));
    if (ready < 0 && errno != EINTR) break;
    const auto now = std::chrono::steady_clock::now();
    if (ready > 0 && (watched[0].revents & POLLIN) != 0) {
      const int fd = ::accept(listener, nullptr, nullptr);
      if (fd >= 0) clients.push_back({fd, {}, false, now});
    }
    const bool noticed = ready > 0 && watched[1].revents != 0 && watch->take_notices();
    for (std::size_t i = first_client; i < watched.size(); ++i) {
      if (ready <= 0 || watched[i].revents == 0) continue;
      client& c = clients[i - first_client];
      char buffer[4096];
      const ssize_t n = ::recv(c.fd, buffer, sizeof buffer, 0);
      if (n <= 0) {
        ::close(c.fd);
        c.fd = -1;
        continue;
      }
      if (c.events) continue;  // an event stream sends nothing more that matters
      c.received.append(buffer, static_cast<std::size_t>(n));
      const head_state state = head_status(c.received);
      if (state == head_state::incomplete) continue;
      std::string reply;
      if (state == head_state::too_large) {
        reply = response("431 Request Header Fields Too Large", "text/plain", "too large\n", true);
      } else if (state == head_state::malformed) {
        reply = response("400 Bad Request", "text/plain", "bad request\n", true);
      } else {
        const request r = *parse_request(c.received);
        const bool head = r.method == "HEAD";
        if (r.method != "GET" && !head) {
          reply = response("405 Method Not Allowed", "text/plain", "GET only\n", true);
        } else if (r.path == "/") {
          reply = response(
              "200 OK", "text/html; charset=utf-8",
              html_page(page.data_json.empty() ? "null" : page.data_json, page.title, true), !head);
        } else if (r.path == "/data.json") {
          reply = response("200 OK", "application/json",
                           page.data_json.empty() ? "null" : page.data_json, !head);
        } else if (r.path == "/events" && !head) {
          c.events = true;
          if (!send_all(c.fd,
                        "HTTP/1.1 200 OK\r\nContent-Type: text/event-stream\r\n"
                        "Cache-Control: no-store\r\nConnection: keep-alive\r\n\r\n"
                        ": the page reloads on each event\n\n")) {
            ::close(c.fd);
            c.fd = -1;
          }
          continue;
        } else {
          reply = response("404 Not Found", "text/plain", "not found\n", true);
        }
      }
      send_all(c.fd, reply);
      ::close(c.fd);
      c.fd = -1;
    }
    // A browser that never finishes its request is let go.
    for (client& c : clients) {
      if (c.fd >= 0 && !c.events && now - c.since > std::chrono::seconds(10)) {
        ::close(c.fd);
        c.fd = -1;
      }
    }
    std::erase_if(clients, [](const client& c) { return c.fd < 0; });

    if (!noticed && now - last_poll < compare_every()) continue;
    last_poll = now;
    const std::string current = file_stamps(page.watched);
    if (!noticed && current == stamps) continue;
    stamps = current;
    try {
      made_page remade = make_page(source);
      if (remade.watched != page.watched) watch = std::make_unique<file_watch>(remade.watched);
      page = std::move(remade);
      stamps = file_stamps(page.watched);
    } catch (const std::exception& failure) {
      err << "scenario_tool view: " << failure.what() << '\n';
      continue;
    }
    err << "scenario_tool view: reloaded\n" << page.diagnostics << std::flush;
    ++generation;
    for (client& c : clients) {
      if (!c.events) continue;
      if (!send_all(c.fd, "event: reload\ndata: " + std::to_string(generation) + "\n\n")) {
        ::close(c.fd);
        c.fd = -1;
      }
    }
  }
  for (const client& c : clients) {
    if (c.fd >= 0) ::close(c.fd);
  }
  ::close(listener);
  sigaction(SIGINT, &old_int, nullptr);
  sigaction(SIGTERM, &old_term, nullptr);
  out << "Stopped." << std::endl;
  return status_ok;
}

}  // namespace scenario_tool::view
#endif
