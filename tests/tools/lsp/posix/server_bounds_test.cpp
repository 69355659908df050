// The language server under an address-space limit of 100 MB beyond what the
// process held when it began, plus 40 times its largest open text: hostile
// messages and texts full of faults are answered within it, never aborted.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "scenario_tool/lsp/framing.h"
#include "scenario_tool/lsp/language_server.h"

namespace {

using nlohmann::json;
using scenario_tool::lsp::framed;

// The process's address space now, in bytes.
std::size_t address_space() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmSize:", 0) == 0) return std::stoul(line.substr(7)) * 1024;
  }
  return 0;
}

// Serves `input` in a child process limited to its size now + `room` bytes;
// returns what it wrote, and its exit status (-1 when killed or aborted).
int serve_limited(std::string input, std::size_t room, std::string& written) {
  // The input is held before the limit is set, as a stream's bytes are not
  // the server's.
  std::stringbuf in(std::move(input));
  int pipe_fds[2];
  if (::pipe(pipe_fds) != 0) return -2;
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(pipe_fds[0]);
    const std::size_t limit = address_space() + room;
    const rlimit as{limit, limit};
    ::setrlimit(RLIMIT_AS, &as);
    std::ostringstream out;
    const int status = scenario_tool::lsp::serve(in, out);
    const std::string bytes = out.str();
    std::size_t at = 0;
    while (at < bytes.size()) {
      const ssize_t put = ::write(pipe_fds[1], bytes.data() + at, bytes.size() - at);
      if (put <= 0) ::_exit(3);
      at += static_cast<std::size_t>(put);
    }
    ::_exit(status);
  }
  ::close(pipe_fds[1]);
  char buffer[65536];
  for (ssize_t got; (got = ::read(pipe_fds[0], buffer, sizeof buffer)) > 0;) {
    written.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(pipe_fds[0]);
  int raw = 0;
  ::waitpid(pid, &raw, 0);
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

std::string message(const json& m) {
  return framed(m.dump());
}
const std::string initialize =
    message({{"jsonrpc", "2.0"}, {"id", 1}, {"method", "initialize"}, {"params", json::object()}});
const std::string shutdown_then_exit =
    message({{"jsonrpc", "2.0"}, {"id", 99}, {"method", "shutdown"}}) +
    message({{"jsonrpc", "2.0"}, {"method", "exit"}});
constexpr std::size_t megabyte = 1000000;

TEST(LspBounds, SixtyFourMebibytesOfOpenBracketsAreRefusedWithinTheBound) {
  const std::string deep =
      "Content-Length: " + std::to_string(64u << 20) + "\r\n\r\n" + std::string(64u << 20, '[');
  std::string written;
  const int status = serve_limited(initialize + deep + shutdown_then_exit, 100 * megabyte, written);
  EXPECT_EQ(status, 0);
  EXPECT_NE(written.find("nests arrays and objects deeper than 64"), std::string::npos);
  EXPECT_NE(written.find("\"id\":99"), std::string::npos);
}

// A megabyte of misspelt rows: one diagnostic per row in the compile, at
// most 100 published and the rest counted in one note.
TEST(LspBounds, ATextFullOfFaultsIsPublishedCappedWithinTheBound) {
  std::string text = "[generale]\r\nlunghezza percorso, 91000\r\n[curve]\r\n";
  const std::string row = "curvva, 100, 200\r\n";
  const std::size_t rows = megabyte / row.size();
  for (std::size_t i = 0; i < rows; ++i) text += row;
  text += "[fine]\r\n";
  const std::string open = message({{"jsonrpc", "2.0"},
                                    {"method", "textDocument/didOpen"},
                                    {"params",
                                     {{"textDocument",
                                       {{"uri", "untitled:R_linea.txt"},
                                        {"languageId", "text"},
                                        {"version", 1},
                                        {"text", text}}}}}});
  std::string written;
  const int status = serve_limited(initialize + open + shutdown_then_exit,
                                   100 * megabyte + 40 * text.size(), written);
  ASSERT_EQ(status, 0);
  std::stringbuf out(written);
  scenario_tool::lsp::message_reader reader(out);
  json published;
  for (auto f = reader.next(); f.what != scenario_tool::lsp::frame::kind::end; f = reader.next()) {
    const json m = json::parse(f.body);
    if (m.value("method", "") == "textDocument/publishDiagnostics") published = m["params"];
  }
  ASSERT_TRUE(published.is_object()) << written.substr(0, 2000);
  const json& list = published["diagnostics"];
  ASSERT_EQ(list.size(), 101u);
  const std::string note = list.back()["message"].get<std::string>();
  EXPECT_EQ(list.back()["severity"], 3);
  // Each row is one fault: all but the 100 shown are counted.
  const std::size_t counted = std::stoul(note);
  EXPECT_EQ(counted + 100, rows) << note;
  EXPECT_NE(note.find("more diagnostics in this text"), std::string::npos) << note;
}

}  // namespace
