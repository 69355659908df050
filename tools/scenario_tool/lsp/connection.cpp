#include "scenario_tool/lsp/connection.h"

#include <exception>
#include <new>

#include "scenario_tool/lsp/message_bounds.h"

namespace scenario_tool::lsp {

void connection::on_request(const std::string& method, request_handler handler) {
  requests_[method] = std::move(handler);
}

void connection::on_notification(const std::string& method, notification_handler handler) {
  notifications_[method] = std::move(handler);
}

void connection::send(const json& message) {
  // Texts from the editor may hold anything: what cannot be UTF-8 is replaced.
  send_(message.dump(-1, ' ', false, json::error_handler_t::replace));
}

void connection::answer(const json& id, json result) {
  send({{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}});
}

void connection::fail(const json& id, int code, const std::string& message) {
  send({{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}});
}

void connection::notify(const std::string& method, json params) {
  send({{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}});
}

void connection::broken_frame(const std::string& why) {
  if (state_ == state::exited) return;
  fail(nullptr, error::parse_error, "not a message: " + why);
}

void connection::receive(std::string_view body) {
  if (state_ == state::exited) return;
  try {
    if (const auto fault = message_fault(body)) {
      fail(nullptr, error::parse_error, *fault);
      return;
    }
    json message = json::parse(body, nullptr, false);
    if (message.is_discarded()) {
      fail(nullptr, error::parse_error, "the message is not JSON");
      return;
    }
    dispatch(message);
  } catch (const std::bad_alloc&) {
    // Out of memory while reading or carrying out the message: it is dropped
    // (what it built is freed) and the server goes on with the next one.
    fail(nullptr, error::internal_error, "out of memory; the message was dropped");
  }
}

void connection::dispatch(const json& message) {
  if (!message.is_object()) {
    fail(nullptr, error::invalid_request, "a message is one JSON object");
    return;
  }
  const auto id_it = message.find("id");
  const bool has_id = id_it != message.end();
  const json id = has_id ? *id_it : json();
  const bool id_ok = has_id && (id.is_string() || id.is_number_integer());
  const auto method_it = message.find("method");
  const auto version = message.find("jsonrpc");
  if (version == message.end() || *version != "2.0") {
    fail(id_ok ? id : json(), error::invalid_request, "the message is not JSON-RPC 2.0");
    return;
  }
  if (method_it == message.end()) {
    // A response to a request of ours: the server sends none it waits for.
    return;
  }
  if (!method_it->is_string() || (has_id && !id_ok)) {
    fail(id_ok ? id : json(), error::invalid_request,
         "a request has a method name and an id that is a number or a string");
    return;
  }
  const std::string& method = method_it->get_ref<const std::string&>();
  const auto params_it = message.find("params");
  // Absent and null params are the same: methods such as shutdown take none.
  const json params =
      params_it == message.end() || params_it->is_null() ? json::object() : *params_it;
  if (!params.is_object() && !params.is_array()) {
    if (has_id) fail(id, error::invalid_params, "params is an object or an array");
    return;
  }

  if (!has_id) {
    // A notification: never answered.
    if (method == "exit") {
      state_ = state::exited;
      return;
    }
    if (state_ != state::running) return;
    const auto handler = notifications_.find(method);
    if (handler == notifications_.end()) return;
    try {
      handler->second(params);
    } catch (const std::exception&) {
      // A notification that cannot be carried out is dropped.
    }
    return;
  }

  if (method == "initialize") {
    if (state_ != state::waiting) {
      fail(id, error::invalid_request, "the server is already initialized");
      return;
    }
  } else if (state_ == state::waiting) {
    fail(id, error::server_not_initialized, "the server is not initialized yet");
    return;
  } else if (state_ == state::shutting_down) {
    fail(id, error::invalid_request, "the server is shutting down");
    return;
  }
  if (method == "shutdown") {
    state_ = state::shutting_down;
    shut_down_ = true;
    answer(id, nullptr);
    return;
  }
  request_handler* handler = nullptr;
  if (method == "initialize") {
    handler = &initialize_;
  } else if (const auto found = requests_.find(method); found != requests_.end()) {
    handler = &found->second;
  }
  if (handler == nullptr || !*handler) {
    fail(id, error::method_not_found, "unknown method " + method);
    return;
  }
  try {
    if (method != "initialize" && before_request_) before_request_();
    json result = (*handler)(params);
    if (method == "initialize") state_ = state::running;
    answer(id, std::move(result));
  } catch (const rpc_error& failure) {
    fail(id, failure.code, failure.what());
  } catch (const json::exception& failure) {
    fail(id, error::invalid_params, std::string("invalid params: ") + failure.what());
  } catch (const std::bad_alloc&) {
    fail(id, error::internal_error, "out of memory");
  } catch (const std::exception& failure) {
    fail(id, error::internal_error, failure.what());
  }
}

}  // namespace scenario_tool::lsp
