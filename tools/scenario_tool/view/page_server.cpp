#include "scenario_tool/view/page_server.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "scenario_tool/draw/html_page.h"
#include "scenario_tool/tool.h"
#include "scenario_tool/view/file_watch.h"
#include "scenario_tool/view/http_request.h"
#include "scenario_tool/view/loopback_socket.h"
#include "scenario_tool/view/stop_request.h"

namespace scenario_tool::view {

namespace {

struct client {
  socket_handle socket = no_socket;
  std::string received;
  bool events = false;  // an open event stream
  std::chrono::steady_clock::time_point since;
};

std::string response(const std::string& status, const std::string& type, const std::string& body,
                     bool with_body) {
  return "HTTP/1.1 " + status + "\r\nContent-Type: " + type +
         "\r\nContent-Length: " + std::to_string(body.size()) +
         "\r\nCache-Control: no-store\r\nConnection: close\r\n\r\n" + (with_body ? body : "");
}

void let_go(client& c) {
  close_socket(c.socket);
  c.socket = no_socket;
}

// The answer to a whole request head; empty for an event stream, which the
// caller keeps open.
std::string answer(const std::string& head_bytes, const made_page& page) {
  const head_state state = head_status(head_bytes);
  if (state == head_state::too_large) {
    return response("431 Request Header Fields Too Large", "text/plain", "too large\n", true);
  }
  if (state == head_state::malformed) {
    return response("400 Bad Request", "text/plain", "bad request\n", true);
  }
  const request r = *parse_request(head_bytes);
  const bool head = r.method == "HEAD";
  if (r.method != "GET" && !head) {
    return response("405 Method Not Allowed", "text/plain", "GET only\n", true);
  }
  const std::string data = page.data_json.empty() ? "null" : page.data_json;
  if (r.path == "/") {
    return response("200 OK", "text/html; charset=utf-8", html_page(data, page.title, true), !head);
  }
  if (r.path == "/data.json") return response("200 OK", "application/json", data, !head);
  if (r.path == "/events" && !head) return {};
  return response("404 Not Found", "text/plain", "not found\n", true);
}

}  // namespace

int serve(const line_source& source, int port, std::ostream& out, std::ostream& err) {
  made_page page = make_page(source);
  err << page.diagnostics << std::flush;
  std::string stamps = file_stamps(page.watched);

  const socket_library sockets;
  if (!sockets.failure().empty()) {
    err << "scenario_tool view: no sockets: " << sockets.failure() << '\n';
    return status_failed;
  }
  const stop_on_interrupt stop;
  socket_handle listener = no_socket;
  for (int tries = 0; tries < 50 && port <= 65535; ++tries, ++port) {
    const listen_result listening = listen_on_loopback(port);
    listener = listening.socket;
    if (listener != no_socket) break;
    if (!listening.port_in_use) {
      err << "scenario_tool view: cannot listen on 127.0.0.1:" << port << ": " << listening.failure
          << '\n';
      return status_failed;
    }
    err << "scenario_tool view: port " << port << " is in use; trying " << port + 1 << '\n';
  }
  if (listener == no_socket) {
    err << "scenario_tool view: no free port found\n";
    return status_failed;
  }
  out << "Serving the line's page on http://127.0.0.1:" << port
      << "/ (it reloads when a text is saved; Ctrl-C ends)" << std::endl;

  std::vector<client> clients;
  std::uint64_t generation = 0;
  // The system's notices say at once when a file is saved; the files' times
  // are compared too, seldom when notices come and often when none can.
  auto watch = std::make_unique<file_watch>(page.watched);
  const auto compare_every = [&] {
    return watch->descriptor() >= 0 ? std::chrono::milliseconds(1000)
                                    : std::chrono::milliseconds(60);
  };
  auto last_poll = std::chrono::steady_clock::now();
  while (!stop.asked()) {
    std::erase_if(clients, [](const client& c) { return c.socket == no_socket; });
    std::vector<socket_handle> waited{listener};
    for (const client& c : clients) waited.push_back(c.socket);
    const wait_result ready = wait_readable(
        waited, watch->descriptor(), std::min(std::chrono::milliseconds(200), compare_every()));
    if (ready.failed) break;
    const auto now = std::chrono::steady_clock::now();
    if (ready.readable[0]) {
      const socket_handle s = accept_client(listener);
      if (s != no_socket) clients.push_back({s, {}, false, now});
    }
    const bool noticed = ready.notice && watch->take_notices();
    for (std::size_t i = 1; i < waited.size(); ++i) {
      if (!ready.readable[i]) continue;
      client& c = clients[i - 1];
      char buffer[4096];
      const std::ptrdiff_t n = receive_some(c.socket, buffer, sizeof buffer);
      if (n <= 0) {
        let_go(c);
        continue;
      }
      if (c.events) continue;  // an event stream sends nothing more that matters
      c.received.append(buffer, static_cast<std::size_t>(n));
      if (head_status(c.received) == head_state::incomplete) continue;
      const std::string reply = answer(c.received, page);
      if (reply.empty()) {
        c.events = true;
        if (!send_all(c.socket,
                      "HTTP/1.1 200 OK\r\nContent-Type: text/event-stream\r\n"
                      "Cache-Control: no-store\r\nConnection: keep-alive\r\n\r\n"
                      ": the page reloads on each event\n\n")) {
          let_go(c);
        }
        continue;
      }
      send_all(c.socket, reply);
      let_go(c);
    }
    // A browser that never finishes its request is let go.
    for (client& c : clients) {
      if (c.socket != no_socket && !c.events && now - c.since > std::chrono::seconds(10)) let_go(c);
    }

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
      if (c.events &&
          !send_all(c.socket, "event: reload\ndata: " + std::to_string(generation) + "\n\n")) {
        let_go(c);
      }
    }
  }
  for (client& c : clients) let_go(c);
  close_socket(listener);
  out << "Stopped." << std::endl;
  return status_ok;
}

}  // namespace scenario_tool::view
