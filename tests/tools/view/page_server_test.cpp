// view's server as a browser meets it, on every system (Windows under wine
// too): a port in use gives the next one, the page and its data come over a
// loopback socket, a saved text sends the reload event with the new
// diagnostic in the data, and a request to stop ends it cleanly.
#include "scenario_tool/view/page_server.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <thread>

#include "platform/replace_file.h"
#include "scenari/scenario_texts.h"
#include "scenario_tool/view/loopback_socket.h"
#include "scenario_tool/view/stop_request.h"
#include "support/temp_folder.h"

namespace {

using namespace scenario_tool::view;
using namespace std::chrono_literals;
using testing_support::temp_folder;

// Reads from `s` until `bytes` hold `wanted`, the other end closes, or `limit` passes.
std::string read_until(socket_handle s, std::string bytes, const std::string& wanted,
                       std::chrono::milliseconds limit) {
  const auto until = std::chrono::steady_clock::now() + limit;
  while (bytes.find(wanted) == std::string::npos && std::chrono::steady_clock::now() < until) {
    if (!wait_readable({s}, -1, 50ms).readable[0]) continue;
    char buffer[4096];
    const std::ptrdiff_t n = receive_some(s, buffer, sizeof buffer);
    if (n <= 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  return bytes;
}

// The whole answer to a GET of `path`, head and body.
std::string get(int port, const std::string& path) {
  const socket_handle s = connect_to_loopback(port);
  if (s == no_socket) return {};
  send_all(s, "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
  const std::string answer = read_until(s, {}, "\x01never", 10s);  // read to the close
  close_socket(s);
  return answer;
}

std::string body_of(const std::string& answer) {
  const std::size_t at = answer.find("\r\n\r\n");
  return at == std::string::npos ? std::string() : answer.substr(at + 4);
}

// A port held by another listener, with the one after it free.
socket_handle hold_a_port(int& held) {
  for (int port = 20000 + static_cast<int>(std::chrono::steady_clock::now().time_since_epoch() /
                                           1ms % 20000);
       port < 65000; port += 7) {
    const listen_result taken = listen_on_loopback(port);
    if (taken.socket == no_socket) continue;
    const listen_result next = listen_on_loopback(port + 1);
    if (next.socket == no_socket) {
      close_socket(taken.socket);
      continue;
    }
    close_socket(next.socket);
    held = port;
    return taken.socket;
  }
  return no_socket;
}

TEST(PageServer, ServesThePageAndSendsAReloadWhenATextIsSaved) {
  const temp_folder folder;
  const std::filesystem::path line = folder / "Brisena_Tarvo_linea.txt";
  const std::filesystem::path train = folder / "Brisena_Tarvo_47306-.txt";
  const std::string line_bytes = scenari::render_lines(scenari::linea_lines());
  platform::replace_file(line, line_bytes);
  platform::replace_file(train, scenari::render_lines(scenari::treno_lines()));

  const socket_library sockets;
  ASSERT_EQ(sockets.failure(), "");
  int held = 0;
  const socket_handle holder = hold_a_port(held);
  ASSERT_NE(holder, no_socket) << "no two free ports found";

  std::ostringstream out, err;
  int status = -1;
  std::thread server([&] {
    status = serve({{line.string(), train.string()}, {}}, held, out, err);
  });
  // However the test leaves, the server is stopped and waited for.
  struct stopped_at_exit {
    std::thread& server;
    ~stopped_at_exit() {
      if (!server.joinable()) return;
      ask_server_to_stop();
      server.join();
    }
  } stopper{server};
  const int port = held + 1;
  // The server compiles the texts before it listens.
  socket_handle events = no_socket;
  for (const auto until = std::chrono::steady_clock::now() + 30s;
       events == no_socket && std::chrono::steady_clock::now() < until;) {
    events = connect_to_loopback(port);
    if (events == no_socket) std::this_thread::sleep_for(20ms);
  }
  ASSERT_NE(events, no_socket) << "view did not answer on port " << port;
  ASSERT_TRUE(send_all(events, "GET /events HTTP/1.1\r\nAccept: text/event-stream\r\n\r\n"));
  std::string stream = read_until(events, {}, ": the page reloads on each event\n\n", 10s);
  EXPECT_NE(stream.find("HTTP/1.1 200 OK\r\nContent-Type: text/event-stream\r\n"),
            std::string::npos)
      << stream;

  const std::string page = get(port, "/");
  EXPECT_EQ(page.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << page.substr(0, 200);
  EXPECT_NE(page.find("startPage("), std::string::npos);
  const nlohmann::json first = nlohmann::json::parse(body_of(get(port, "/data.json")));
  EXPECT_GT(first["cell_count"].get<int>(), 1000);
  EXPECT_TRUE(first["diagnostics"].empty());
  EXPECT_EQ(get(port, "/nothing").rfind("HTTP/1.1 404 Not Found\r\n", 0), 0u);

  // A board moved off its cell, saved as editors save: a copy renamed onto the text.
  const std::string board = "cartello_indicatore,  1150,";
  const std::size_t at = line_bytes.find(board);
  ASSERT_NE(at, std::string::npos);
  std::string edited = line_bytes;
  edited.replace(at, board.size(), "cartello_indicatore,  1175,");
  const auto saved = std::chrono::steady_clock::now();
  platform::replace_file(line, edited);
  stream = read_until(events, stream, "event: reload\ndata: 1\n\n", 10s);
  const auto reloaded = std::chrono::steady_clock::now();
  EXPECT_NE(stream.find("event: reload\ndata: 1\n\n"), std::string::npos) << stream;
  const auto after_save = std::chrono::duration_cast<std::chrono::milliseconds>(reloaded - saved);
  RecordProperty("save_to_reload_ms", static_cast<int>(after_save.count()));
  std::cout << "reload event " << after_save.count() << " ms after the save\n";
  const nlohmann::json second = nlohmann::json::parse(body_of(get(port, "/data.json")));
  ASSERT_FALSE(second["diagnostics"].empty());
  EXPECT_NE(second["diagnostics"][0]["row"].get<std::string>().find("1175"), std::string::npos)
      << second["diagnostics"].dump();

  close_socket(events);
  ask_server_to_stop();
  server.join();
  close_socket(holder);
  EXPECT_EQ(status, 0);
  EXPECT_NE(
      err.str().find("port " + std::to_string(held) + " is in use; trying " + std::to_string(port)),
      std::string::npos)
      << err.str();
  EXPECT_NE(err.str().find("scenario_tool view: reloaded"), std::string::npos);
  EXPECT_NE(
      out.str().find("Serving the line's page on http://127.0.0.1:" + std::to_string(port) + "/"),
      std::string::npos)
      << out.str();
  EXPECT_NE(out.str().find("Stopped."), std::string::npos);
}

}  // namespace
