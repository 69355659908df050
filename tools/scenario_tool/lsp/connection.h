// JSON-RPC 2.0 as the language server speaks it: requests answered in order,
// notifications, the errors the protocol names, and the server's life from
// `initialize` to `shutdown` and `exit`. What the methods do is given by the
// handlers; nothing here knows the description texts.
#pragma once

#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>
#include <string_view>

namespace scenario_tool::lsp {

using json = nlohmann::json;

namespace error {
inline constexpr int parse_error = -32700;
inline constexpr int invalid_request = -32600;
inline constexpr int method_not_found = -32601;
inline constexpr int invalid_params = -32602;
inline constexpr int internal_error = -32603;
inline constexpr int server_not_initialized = -32002;
inline constexpr int request_failed = -32803;
}  // namespace error

// Thrown by a handler to answer its request with an error.
struct rpc_error : std::runtime_error {
  rpc_error(int code, const std::string& message) : std::runtime_error(message), code(code) {}
  int code;
};

class connection {
 public:
  using request_handler = std::function<json(const json& params)>;
  using notification_handler = std::function<void(const json& params)>;
  using sender = std::function<void(const std::string& body)>;

  explicit connection(sender send) : send_(std::move(send)) {}

  // `initialize` is answered by this handler; requests before it are refused.
  void on_initialize(request_handler handler) { initialize_ = std::move(handler); }
  void on_request(const std::string& method, request_handler handler);
  void on_notification(const std::string& method, notification_handler handler);

  // Runs before each request is handled (after `initialize`): what the
  // handlers read is brought up to date there.
  void before_request(std::function<void()> hook) { before_request_ = std::move(hook); }

  // One message's JSON text, as framed on the stream. A message nested too
  // deep is refused before it is parsed; one that runs out of memory is
  // dropped with an error, and the connection goes on.
  void receive(std::string_view body);
  // Bytes on the stream that were no message.
  void broken_frame(const std::string& why);

  void notify(const std::string& method, json params);

  bool initialized() const { return state_ != state::waiting; }
  bool exited() const { return state_ == state::exited; }
  // 0 after `shutdown` then `exit`, else 1.
  int exit_status() const { return shut_down_ ? 0 : 1; }

 private:
  enum class state { waiting, running, shutting_down, exited };

  void dispatch(const json& message);
  void answer(const json& id, json result);
  void fail(const json& id, int code, const std::string& message);
  void send(const json& message);

  sender send_;
  request_handler initialize_;
  std::function<void()> before_request_;
  std::map<std::string, request_handler, std::less<>> requests_;
  std::map<std::string, notification_handler, std::less<>> notifications_;
  state state_ = state::waiting;
  bool shut_down_ = false;
};

}  // namespace scenario_tool::lsp
