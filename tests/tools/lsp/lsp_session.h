// A language server in the test's process, driven message by message, with
// everything it sends kept as JSON.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "scenario_tool/lsp/language_server.h"

namespace testing_support {

using nlohmann::json;

class lsp_session {
 public:
  lsp_session() : server_([this](const std::string& body) { sent.push_back(json::parse(body)); }) {}

  void send(const json& message) { server_.rpc().receive(message.dump()); }

  // The answer to a request (the last message sent with its id).
  json request(const std::string& method, const json& params) {
    const int id = next_id_++;
    send({{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", params}});
    for (auto it = sent.rbegin(); it != sent.rend(); ++it) {
      if (it->contains("id") && (*it)["id"] == id) return *it;
    }
    return nullptr;
  }
  void notify(const std::string& method, const json& params) {
    send({{"jsonrpc", "2.0"}, {"method", method}, {"params", params}});
  }
  void initialize(bool snippets = true) {
    request("initialize",
            {{"capabilities",
              {{"textDocument",
                {{"completion", {{"completionItem", {{"snippetSupport", snippets}}}}}}}}}});
    notify("initialized", json::object());
  }
  void open(const std::string& uri, const std::string& utf8_text) {
    notify("textDocument/didOpen",
           {{"textDocument",
             {{"uri", uri}, {"languageId", "text"}, {"version", 1}, {"text", utf8_text}}}});
  }
  // Replaces the text from (line, from) to (line, to) with `text`.
  void edit(const std::string& uri, int line, int from, int to, const std::string& text) {
    notify("textDocument/didChange",
           {{"textDocument", {{"uri", uri}, {"version", ++version_}}},
            {"contentChanges", json::array({{{"range",
                                              {{"start", {{"line", line}, {"character", from}}},
                                               {"end", {{"line", line}, {"character", to}}}}},
                                             {"text", text}}})}});
  }
  // The diagnostics last published for `uri`; null when none were.
  json diagnostics(const std::string& uri) const {
    for (auto it = sent.rbegin(); it != sent.rend(); ++it) {
      if (it->value("method", "") == "textDocument/publishDiagnostics" &&
          (*it)["params"]["uri"] == uri) {
        return (*it)["params"]["diagnostics"];
      }
    }
    return nullptr;
  }
  std::vector<json> notifications(const std::string& method) const {
    std::vector<json> found;
    for (const json& m : sent) {
      if (m.value("method", "") == method) found.push_back(m);
    }
    return found;
  }

  std::vector<json> sent;
  scenario_tool::lsp::language_server& server() { return server_; }

 private:
  scenario_tool::lsp::language_server server_;
  int next_id_ = 1;
  int version_ = 1;
};

}  // namespace testing_support
