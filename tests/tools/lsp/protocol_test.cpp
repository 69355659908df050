// The server's protocol layer on whole byte streams: framing, JSON-RPC
// errors, the life from initialize to shutdown and exit, and input that is
// no protocol at all.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "scenario_tool/lsp/framing.h"
#include "scenario_tool/lsp/language_server.h"

namespace {

using nlohmann::json;
using scenario_tool::lsp::frame;
using scenario_tool::lsp::framed;
using scenario_tool::lsp::message_reader;

std::string message(const json& m) {
  return framed(m.dump());
}

json request(int id, const std::string& method, json params = json::object()) {
  return {{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", std::move(params)}};
}
json notification(const std::string& method, json params = json::object()) {
  return {{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}};
}

const std::string initialize =
    message(request(1, "initialize", {{"capabilities", json::object()}}));
const std::string shutdown_then_exit =
    message(request(99, "shutdown", nullptr)) + message(notification("exit"));

struct session_result {
  int status;
  std::vector<json> messages;
  std::string rest;  // output that was no framed message
};

// Serves `input` to its end and splits what the server wrote into messages.
session_result serve(const std::string& input) {
  std::stringbuf in(input);
  std::ostringstream out;
  session_result result;
  result.status = scenario_tool::lsp::serve(in, out);
  std::stringbuf written(out.str());
  message_reader reader(written);
  for (frame f = reader.next(); f.what != frame::kind::end; f = reader.next()) {
    if (f.what == frame::kind::message) {
      result.messages.push_back(json::parse(f.body));
    } else {
      result.rest += f.why;
    }
  }
  return result;
}

TEST(LspFraming, ReadsMessagesAndFindsTheNextOneAfterABrokenHeader) {
  const std::string input =
      "Content-Length: 2\r\n\r\n{}"  // plain
      "content-length:  7 \r\nContent-Type: application/vscode-jsonrpc; "
      "charset=utf-8\r\n\r\n[1,2,3]"
      "Content-Type: x\r\n\r\n"      // no length
      "Content-Length: 12x\r\n\r\n"  // not a number
      "Content-Length: 4\r\n\r\nnull"
      "Content-Length: 99999999999\r\n\r\n"  // larger than allowed: read past
      + std::string(10, 'z');
  std::stringbuf in(input);
  message_reader reader(in);
  std::vector<std::string> seen;
  for (frame f = reader.next(); f.what != frame::kind::end; f = reader.next()) {
    seen.push_back(f.what == frame::kind::message ? "message " + f.body : "broken");
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"message {}", "message [1,2,3]", "broken", "broken",
                                            "message null"}));
}

// Two lengths that disagree: neither is taken, and the body that followed is
// passed over up to the next header, so no request waits for ever.
TEST(LspFraming, DisagreeingLengthsAreRefusedAndTheNextHeaderIsFound) {
  const std::string input =
      "Content-Length: 2\r\nContent-Length: 7\r\n\r\n[1,2,3]"
      "Content-Length: 2\r\ncontent-length: 2\r\n\r\n{}"  // the same twice: taken
      "Content-Type: x\r\n\r\n{\"a\":1}Content-Length: 4\r\n\r\nnull";
  std::stringbuf in(input);
  message_reader reader(in);
  std::vector<std::string> seen;
  for (frame f = reader.next(); f.what != frame::kind::end; f = reader.next()) {
    seen.push_back(f.what == frame::kind::message ? "message " + f.body : "broken: " + f.why);
  }
  EXPECT_EQ(seen, (std::vector<std::string>{
                      "broken: two Content-Length headers disagree (2 and 7)", "message {}",
                      "broken: the header names no Content-Length", "message null"}));
}

// Changes that arrive faster than a compile are compiled together: a burst of
// keystrokes ends in one compile and one publication, of the last text.
TEST(LspProtocol, ChangesWaitingTogetherAreCompiledOnce) {
  const std::string uri = "untitled:R_1-.txt";
  std::string input =
      initialize +
      message(notification(
          "textDocument/didOpen",
          {{"textDocument",
            {{"uri", uri}, {"languageId", "text"}, {"version", 1}, {"text", "[stazioni]\r\n"}}}}));
  const int changes = 1000;
  for (int i = 0; i < changes; ++i) {
    input += message(notification(
        "textDocument/didChange",
        {{"textDocument", {{"uri", uri}, {"version", i + 2}}},
         {"contentChanges", json::array({{{"text", "[stazioni]\r\nrow " + std::to_string(i)}}})}}));
  }
  const session_result r = serve(input);
  int published = 0;
  for (const json& m : r.messages) {
    if (m.value("method", "") == "textDocument/publishDiagnostics") ++published;
  }
  // One for the opening, one for the whole burst.
  EXPECT_EQ(published, 2);
}

TEST(LspFraming, AHeaderThatNeverEndsIsBrokenNotHeldForEver) {
  std::string input(3 * scenario_tool::lsp::largest_header, 'h');
  input += "\r\n\r\n" + framed("{}");
  std::stringbuf in(input);
  message_reader reader(in);
  EXPECT_EQ(reader.next().what, frame::kind::broken);
  const frame next = reader.next();
  ASSERT_EQ(next.what, frame::kind::message);
  EXPECT_EQ(next.body, "{}");
}

TEST(LspProtocol, ShutdownThenExitEndsWithStatusZero) {
  const session_result r = serve(initialize + shutdown_then_exit + message(request(5, "shutdown")));
  EXPECT_EQ(r.status, 0);
  ASSERT_EQ(r.messages.size(), 2u);  // nothing is read after exit
  EXPECT_EQ(r.messages[0]["id"], 1);
  EXPECT_TRUE(r.messages[0]["result"]["capabilities"]["hoverProvider"].get<bool>());
  EXPECT_EQ(r.messages[1], json({{"jsonrpc", "2.0"}, {"id", 99}, {"result", nullptr}}));
}

TEST(LspProtocol, ExitWithoutShutdownOrAnInputThatEndsGivesStatusOne) {
  EXPECT_EQ(serve(initialize + message(notification("exit"))).status, 1);
  EXPECT_EQ(serve(initialize).status, 1);
  EXPECT_EQ(serve("").status, 1);
}

// Each case: the messages after initialize, and the error code of the one
// answer expected (0 for no answer at all).
struct error_case {
  const char* name;
  std::string input;
  int code;
  bool null_id;
};

TEST(LspProtocol, AnswersEveryFaultWithItsErrorOrWithNothing) {
  const std::vector<error_case> cases = {
      {"not JSON", framed("{\"jsonrpc\": \"2.0\", \"id\": 3, "), -32700, true},
      {"not UTF-8", framed("{\"jsonrpc\":\"2.0\",\"id\":3,\"method\":\"\xff\"}"), -32700, true},
      {"not an object", framed("[1, 2]"), -32600, true},
      {"no jsonrpc", framed("{\"id\": 3, \"method\": \"shutdown\"}"), -32600, false},
      {"id an object", framed("{\"jsonrpc\":\"2.0\",\"id\":{},\"method\":\"shutdown\"}"), -32600,
       true},
      {"method a number", framed("{\"jsonrpc\":\"2.0\",\"id\":3,\"method\":7}"), -32600, false},
      {"unknown method", message(request(3, "textDocument/rename")), -32601, false},
      {"params a string", message(request(3, "textDocument/hover", "x")), -32602, false},
      {"params without a text", message(request(3, "textDocument/hover")), -32602, false},
      {"a text not open",
       message(request(3, "textDocument/hover",
                       {{"textDocument", {{"uri", "file:///nowhere/a_linea.txt"}}},
                        {"position", {{"line", 0}, {"character", 0}}}})),
       -32803, false},
      {"initialize twice", message(request(3, "initialize", {{"capabilities", json::object()}})),
       -32600, false},
      {"broken header", "Content-Length: many\r\n\r\n", -32700, true},
      {"unknown notification", message(notification("$/somethingNew")), 0, false},
      {"notification with bad params", message(notification("textDocument/didOpen", {{"x", 1}})), 0,
       false},
      {"a response from the client", framed("{\"jsonrpc\":\"2.0\",\"id\":7,\"result\":null}"), 0,
       false},
  };
  for (const error_case& c : cases) {
    SCOPED_TRACE(c.name);
    const session_result r = serve(initialize + c.input + shutdown_then_exit);
    EXPECT_EQ(r.status, 0);
    ASSERT_GE(r.messages.size(), 2u);
    // The answers between initialize's and shutdown's.
    const std::vector<json> answers(r.messages.begin() + 1, r.messages.end() - 1);
    if (c.code == 0) {
      EXPECT_TRUE(answers.empty()) << answers.front().dump();
      continue;
    }
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0]["error"]["code"], c.code) << answers[0].dump();
    EXPECT_TRUE(answers[0]["error"]["message"].is_string());
    if (c.null_id) {
      EXPECT_TRUE(answers[0]["id"].is_null());
    } else {
      EXPECT_EQ(answers[0]["id"], 3);
    }
  }
}

TEST(LspProtocol, RefusesRequestsBeforeInitializeAndAfterShutdown) {
  const session_result r = serve(
      message(request(2, "textDocument/documentSymbol")) +
      message(notification("textDocument/didOpen",
                           {{"textDocument", {{"uri", "file:///x/a_linea.txt"}, {"text", ""}}}})) +
      initialize + message(request(3, "shutdown")) +
      message(request(4, "textDocument/completion")) + message(notification("exit")));
  EXPECT_EQ(r.status, 0);
  ASSERT_EQ(r.messages.size(), 4u);  // the notification before initialize is dropped
  EXPECT_EQ(r.messages[0]["error"]["code"], -32002);
  EXPECT_EQ(r.messages[0]["id"], 2);
  EXPECT_EQ(r.messages[1]["id"], 1);
  EXPECT_EQ(r.messages[2]["id"], 3);
  EXPECT_EQ(r.messages[3]["error"]["code"], -32600);
}

TEST(LspProtocol, ABodyCutShortEndsTheSessionQuietly) {
  const session_result r = serve(initialize + "Content-Length: 50\r\n\r\n{\"jsonrpc\"");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.messages.size(), 1u);
  EXPECT_TRUE(r.rest.empty());
}

}  // namespace
