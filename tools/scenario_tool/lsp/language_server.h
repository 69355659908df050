// The language server for the description texts: keeps the texts open in the
// editor, compiles each scenario again on every change, publishes the
// compile's diagnostics for both of its texts, and answers hover, completion
// and outline requests from the latest compile.
#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <streambuf>
#include <string>

#include "scenario_tool/lsp/analysis.h"
#include "scenario_tool/lsp/connection.h"
#include "scenario_tool/lsp/folder_names.h"
#include "scenario_tool/lsp/text_document.h"

namespace scenario_tool::lsp {

class language_server {
 public:
  explicit language_server(connection::sender send);

  connection& rpc() { return rpc_; }

  // `more_waiting` tells whether another message is already waiting: while
  // one is, a change to a text is kept and compiled later, with the changes
  // after it (an editor sends one per keystroke, faster than a compile).
  void defer_changes_while(std::function<bool()> more_waiting) {
    more_waiting_ = std::move(more_waiting);
  }
  // Named diagnostics link to their entries in the format reference at
  // `reference_uri` (a file: URI); with none set, they carry no link.
  void link_codes_to(std::string reference_uri) { reference_uri_ = std::move(reference_uri); }
  // Compiles every text changed since its last compile, and publishes.
  void settle();

 private:
  struct open_text {
    text_document document;
    std::optional<std::filesystem::path> path;
    std::shared_ptr<const analysis> compiled;  // the latest compile it took part in
    model::description_text which = model::description_text::line;
    std::set<std::string> also_published;  // texts not open that got diagnostics with it
  };

  json initialize(const json& params);
  void opened(const json& params);
  void changed(const json& params);
  void closed(const json& params);
  void saved(const json& params);
  json hover(const json& params);
  json symbols(const json& params);
  json completion(const json& params);

  open_text& text_for(const json& params);
  // Compiles the scenario of the open text `uri` and publishes its diagnostics.
  void check(const std::string& uri);
  // `total`: how many the text has, of which `diagnostics` are the first.
  void publish(const std::string& uri, const std::vector<diagnostic>& diagnostics,
               const std::string& bytes, std::size_t total = 0);
  void say_once(const std::string& uri, const std::string& note);

  connection rpc_;
  bool snippets_ = false;
  bool value_name_hints_ = false;  // the editor's setting: each value's name before it
  std::map<std::string, open_text> open_;
  std::set<std::string> said_;
  std::set<std::string> changed_;  // open texts changed since their last compile
  std::function<bool()> more_waiting_;
  folder_names names_;
  std::string reference_uri_;
};

// Serves one editor over a byte stream until `exit` or the end of the input;
// returns the exit status (0 after `shutdown` then `exit`).
int serve(std::streambuf& in, std::ostream& out);

}  // namespace scenario_tool::lsp
