#include "scenario_tool/lsp/language_server.h"

#include <algorithm>
#include <new>
#include <ostream>
#include <stdexcept>

#include "platform/platform.h"
#include "platform/replace_file.h"
#include "reader/description_texts.h"
#include "scenario_tool/lsp/code_actions.h"
#include "scenario_tool/lsp/completion.h"
#include "scenario_tool/lsp/definition.h"
#include "scenario_tool/lsp/diagnostic_notes.h"
#include "scenario_tool/lsp/file_uri.h"
#include "scenario_tool/lsp/folding.h"
#include "scenario_tool/lsp/formatting.h"
#include "scenario_tool/lsp/framing.h"
#include "scenario_tool/lsp/hover.h"
#include "scenario_tool/lsp/inlay_hints.h"
#include "scenario_tool/lsp/message_bounds.h"
#include "scenario_tool/lsp/pairing.h"
#include "scenario_tool/lsp/reference_links.h"
#include "scenario_tool/lsp/semantic_tokens.h"
#include "scenario_tool/lsp/signature_help.h"
#include "scenario_tool/lsp/symbols.h"
#include "scenario_tool/lsp/value_name_hints.h"
#include "scenario_tool/shared/manifest_paths.h"
#include "scenario_tool/shared/windows_1252.h"

namespace scenario_tool::lsp {
namespace {

using model::description_text;

text_point point_of(const json& position) {
  return {position.at("line").get<std::size_t>(), position.at("character").get<std::size_t>()};
}

json range_json(text_point a, text_point b) {
  return {{"start", {{"line", a.line}, {"character", a.character}}},
          {"end", {{"line", b.line}, {"character", b.character}}}};
}

json diagnostic_json(const diagnostic& d, const text_document& text) {
  text_point from;
  text_point to;
  if (d.line != 0) {
    from = {d.line - 1, d.column == 0 ? 0 : d.column - 1};
    const std::size_t start = text.offset(from);
    // The field at fault: up to its comma or its line's end, trailing blanks left out.
    const std::string& b = text.bytes();
    std::size_t end = start;
    while (end < b.size() && b[end] != ',' && b[end] != '\r' && b[end] != '\n') ++end;
    while (end > start && (b[end - 1] == ' ' || b[end - 1] == '\t')) --end;
    to = text.point(std::max(end, std::min(start + 1, text.offset({from.line, SIZE_MAX}))));
  }
  json out = {{"range", range_json(from, to)},
              {"severity", d.level == severity::error ? 1 : 2},
              {"source", "scenario_tool"},
              {"message", utf8_from_windows_1252(d.message())}};
  // The recorded error code, else the warning's name (as compile shows it in brackets).
  // The mend an editor offers as a quick fix (see code_actions).
  if (!d.mend.empty()) out["data"] = {{"mend", utf8_from_windows_1252(d.mend)}};
  if (d.code != 0) {
    out["code"] = d.code;
  } else if (!d.name.empty()) {
    out["code"] = d.name;
  }
  return out;
}

}  // namespace

language_server::language_server(connection::sender send) : rpc_(std::move(send)) {
  rpc_.on_initialize([this](const json& p) { return initialize(p); });
  rpc_.on_notification("textDocument/didOpen", [this](const json& p) { opened(p); });
  rpc_.on_notification("textDocument/didChange", [this](const json& p) { changed(p); });
  rpc_.on_notification("textDocument/didClose", [this](const json& p) { closed(p); });
  rpc_.on_notification("textDocument/didSave", [this](const json& p) { saved(p); });
  rpc_.on_notification("workspace/didChangeConfiguration", [this](const json& p) {
    if (!p.is_object()) return;
    if (const std::optional<bool> on = value_names_setting(p.value("settings", json()))) {
      value_name_hints_ = *on;
    }
  });
  // A request reads the latest compile: changes kept back are compiled first.
  rpc_.before_request([this]() { settle(); });
  rpc_.on_request("textDocument/hover", [this](const json& p) { return hover(p); });
  rpc_.on_request("textDocument/documentSymbol", [this](const json& p) { return symbols(p); });
  rpc_.on_request("textDocument/completion", [this](const json& p) { return completion(p); });
  rpc_.on_request("textDocument/signatureHelp", [this](const json& p) {
    const open_text& text = text_for(p);
    return signature_help_at(text.document, text.which, point_of(p.at("position")));
  });
  rpc_.on_request("textDocument/codeAction", [this](const json& p) {
    const open_text& text = text_for(p);
    return quick_fixes(text.document, text.which,
                       p.at("textDocument").at("uri").get_ref<const std::string&>(),
                       p.at("context").value("diagnostics", json::array()));
  });
  rpc_.on_request("textDocument/foldingRange",
                  [this](const json& p) { return section_folds(text_for(p).document); });
  rpc_.on_request("textDocument/semanticTokens/full", [this](const json& p) {
    const open_text& text = text_for(p);
    return semantic_tokens(text.document, text.which);
  });
  rpc_.on_request("textDocument/inlayHint", [this](const json& p) -> json {
    const open_text& text = text_for(p);
    if (text.compiled == nullptr) return json::array();
    const std::size_t first = p.at("range").at("start").at("line").get<std::size_t>();
    const std::size_t last = p.at("range").at("end").at("line").get<std::size_t>();
    json hints = landing_hints(*text.compiled, text.which, text.document, first, last);
    if (value_name_hints_) {
      for (json& hint : value_name_hints(*text.compiled, text.which, text.document, first, last)) {
        hints.push_back(std::move(hint));
      }
    }
    return hints;
  });
  rpc_.on_request("textDocument/definition", [this](const json& p) -> json {
    const std::string& uri = p.at("textDocument").at("uri").get_ref<const std::string&>();
    const open_text& text = text_for(p);
    if (text.compiled == nullptr) return json::array();
    // The other text of the same compile: open in the editor, else published with this one.
    std::string partner;
    for (const auto& [other_uri, other] : open_) {
      if (other_uri != uri && other.compiled == text.compiled && other.which != text.which) {
        partner = other_uri;
      }
    }
    if (partner.empty() && !text.also_published.empty()) partner = *text.also_published.begin();
    return rows_sharing_cells(*text.compiled, text.which,
                              text.document.offset(point_of(p.at("position"))), uri, partner);
  });
  rpc_.on_request("textDocument/formatting", [this](const json& p) {
    const open_text& text = text_for(p);
    return formatting_edits(text.document, 0, SIZE_MAX);
  });
  rpc_.on_request("textDocument/rangeFormatting", [this](const json& p) {
    const open_text& text = text_for(p);
    return formatting_edits(text.document, p.at("range").at("start").at("line").get<std::size_t>(),
                            p.at("range").at("end").at("line").get<std::size_t>());
  });
}

json language_server::initialize(const json& params) {
  if (!params.is_object()) throw rpc_error(error::invalid_params, "initialize takes an object");
  const json snippet = params.value(
      "/capabilities/textDocument/completion/completionItem/snippetSupport"_json_pointer,
      json(false));
  snippets_ = snippet.is_boolean() && snippet.get<bool>();
  // The settings may come with the initialisation too, in the same shape.
  if (const std::optional<bool> on =
          value_names_setting(params.value("initializationOptions", json()))) {
    value_name_hints_ = *on;
  }
  return {
      {"capabilities",
       {{"positionEncoding", "utf-16"},
        {"textDocumentSync", {{"openClose", true}, {"change", 2}, {"save", true}}},
        {"hoverProvider", true},
        {"completionProvider",
         {{"resolveProvider", false}, {"triggerCharacters", completion_triggers()}}},
        {"documentSymbolProvider", true},
        {"signatureHelpProvider", {{"triggerCharacters", {","}}, {"retriggerCharacters", {" "}}}},
        {"codeActionProvider", {{"codeActionKinds", {"quickfix"}}}},
        {"foldingRangeProvider", true},
        {"definitionProvider", true},
        {"inlayHintProvider", true},
        {"semanticTokensProvider", {{"legend", semantic_token_legend()}, {"full", true}}},
        {"documentFormattingProvider", true},
        {"documentRangeFormattingProvider", true}}},
      {"serverInfo", {{"name", "scenario_tool"}}}};
}

language_server::open_text& language_server::text_for(const json& params) {
  const std::string& uri = params.at("textDocument").at("uri").get_ref<const std::string&>();
  const auto found = open_.find(uri);
  if (found == open_.end()) throw rpc_error(error::request_failed, "the text is not open: " + uri);
  return found->second;
}

void language_server::opened(const json& params) {
  const json& item = params.at("textDocument");
  const std::string uri = item.at("uri").get<std::string>();
  open_text text;
  text.document.set(bytes_from_utf8(item.at("text").get_ref<const std::string&>()));
  text.path = path_from_uri(uri);
  if (text.path) names_.refresh(text.path->parent_path());
  open_[uri] = std::move(text);
  changed_.erase(uri);
  check(uri);
}

void language_server::changed(const json& params) {
  open_text& text = text_for(params);
  for (const json& change : params.at("contentChanges")) {
    const std::string bytes = bytes_from_utf8(change.at("text").get_ref<const std::string&>());
    if (change.contains("range") && !change.at("range").is_null()) {
      const json& range = change.at("range");
      text.document.replace(point_of(range.at("start")), point_of(range.at("end")), bytes);
    } else {
      text.document.set(bytes);
    }
  }
  const std::string& uri = params.at("textDocument").at("uri").get_ref<const std::string&>();
  if (more_waiting_ && more_waiting_()) {
    changed_.insert(uri);
  } else {
    changed_.erase(uri);
    check(uri);
  }
}

void language_server::saved(const json& params) {
  const open_text& text = text_for(params);
  // A text saved under a new name may be the partner another one lacked.
  if (text.path) names_.refresh(text.path->parent_path());
}

void language_server::settle() {
  const std::set<std::string> due = std::move(changed_);
  changed_.clear();
  for (const std::string& uri : due) {
    if (open_.count(uri) != 0) check(uri);
  }
}

void language_server::closed(const json& params) {
  const std::string uri = params.at("textDocument").at("uri").get<std::string>();
  const auto found = open_.find(uri);
  if (found == open_.end()) return;
  std::set<std::string> cleared = found->second.also_published;
  cleared.insert(uri);
  const std::shared_ptr<const analysis> compiled = found->second.compiled;
  open_.erase(found);
  changed_.erase(uri);
  for (const std::string& other : cleared) publish(other, {}, {});
  // A partner still open is checked again, now with the closed text from disk.
  std::vector<std::string> partners;
  for (const auto& [other_uri, other] : open_) {
    if (compiled != nullptr && other.compiled == compiled) partners.push_back(other_uri);
  }
  for (const std::string& other : partners) check(other);
}

void language_server::say_once(const std::string& uri, const std::string& note) {
  if (note.empty() || !said_.insert(uri + "\n" + note).second) return;
  // Notes are made of file names and the tool's own words, already UTF-8.
  rpc_.notify("window/showMessage", {{"type", 3}, {"message", note}});
}

void language_server::check(const std::string& uri) {
  open_text& self = open_.at(uri);
  std::vector<std::filesystem::path> open_paths;
  for (const auto& [other_uri, other] : open_) {
    if (other.path) open_paths.push_back(*other.path);
  }

  scenario_pair pair;
  description_text which;
  if (self.path) {
    pair = pair_text(*self.path, self.document.bytes(), open_paths, &names_);
    // A manifest says which text is which; else the name or the bytes do.
    if (!pair.line.empty() && pair.line == *self.path) {
      which = description_text::line;
    } else if (!pair.train.empty() && pair.train == *self.path) {
      which = description_text::train;
    } else {
      which = role_of(*self.path, self.document.bytes()) == text_role::line
                  ? description_text::line
                  : description_text::train;
    }
  } else {
    which = role_of("", self.document.bytes()) == text_role::line ? description_text::line
                                                                  : description_text::train;
    pair.note = uri + ": not a file; checked alone";
  }

  // The partner's text: from the editor when it is open there, else from disk.
  std::string partner_uri;
  std::optional<std::string> partner_bytes;
  const std::filesystem::path partner = which == description_text::line ? pair.train : pair.line;
  if (!partner.empty()) {
    for (const auto& [other_uri, other] : open_) {
      if (other.path && *other.path == partner) {
        partner_uri = other_uri;
        partner_bytes = other.document.bytes();
      }
    }
    if (!partner_bytes) {
      partner_uri = uri_from_path(partner);
      try {
        // Only a file of the scenario's own folder, as the manifest's rule says.
        const std::filesystem::path folder = self.path ? self.path->parent_path() : partner;
        if (const auto why = outside_folder(folder, partner.lexically_relative(folder))) {
          throw std::runtime_error("it " + *why);
        }
        partner_bytes = platform::read_file(partner, reader::text_bound);
      } catch (const std::exception& failure) {
        partner_uri.clear();
        pair.note = partner.filename().string() + " cannot be read (" + failure.what() + "); " +
                    (self.path ? self.path->filename().string() : uri) + " is checked alone";
      }
    }
  }
  say_once(uri, pair.note);

  analysis_input input;
  input.route_id = pair.route_id;
  input.train_number = pair.train_number;
  input.plan = pair.plan;
  (which == description_text::line ? input.line : input.train) = self.document.bytes();
  if (partner_bytes) (which == description_text::line ? input.train : input.line) = *partner_bytes;
  std::shared_ptr<const analysis> result = analyse(input);

  const auto& mine =
      which == description_text::line ? result->line_diagnostics : result->train_diagnostics;
  const auto& theirs =
      which == description_text::line ? result->train_diagnostics : result->line_diagnostics;
  self.compiled = result;
  self.which = which;
  std::set<std::string> before = std::move(self.also_published);
  self.also_published.clear();
  const std::size_t line_count = result->line_diagnostic_count;
  const std::size_t train_count = result->train_diagnostic_count;
  publish(uri, mine, self.document.bytes(),
          which == description_text::line ? line_count : train_count);
  if (!partner_uri.empty()) {
    publish(partner_uri, theirs, *partner_bytes,
            which == description_text::line ? train_count : line_count);
    const auto other = open_.find(partner_uri);
    if (other != open_.end()) {
      other->second.compiled = result;
      other->second.which =
          which == description_text::line ? description_text::train : description_text::line;
    } else {
      open_.at(uri).also_published.insert(partner_uri);
    }
  }
  // A text that is no longer this one's partner loses the diagnostics it got from it.
  for (const std::string& old : before) {
    if (old != partner_uri && open_.count(old) == 0) publish(old, {}, {});
  }
}

void language_server::publish(const std::string& uri, const std::vector<diagnostic>& diagnostics,
                              const std::string& bytes, std::size_t total) {
  total = std::max(total, diagnostics.size());
  const text_document text(bytes);
  // At most so many are published; the rest are counted in one note where
  // the first of them is.
  const std::size_t shown = std::min(diagnostics.size(), most_published_diagnostics);
  const std::vector<diagnostic> published(diagnostics.begin(),
                                          diagnostics.begin() + static_cast<std::ptrdiff_t>(shown));
  json list = with_notes_related(published, uri, [&](const diagnostic& d) {
    json out = diagnostic_json(d, text);
    // A named diagnostic links to its entry in the format reference.
    if (!reference_uri_.empty() && out.contains("code")) {
      if (std::optional<std::string> href = entry_address(reference_uri_, out["code"])) {
        out["codeDescription"] = {{"href", *href}};
      }
    }
    return out;
  });
  if (shown < diagnostics.size()) {
    json more = diagnostic_json(diagnostics[shown], text);
    const std::size_t left = total - shown;
    more["severity"] = 3;
    more["message"] = std::to_string(left) + " more diagnostic" + (left == 1 ? "" : "s") +
                      " in this text, from here on, not shown (at most " +
                      std::to_string(most_published_diagnostics) +
                      " are published): the first ones to mend come first";
    more.erase("code");
    list.push_back(std::move(more));
  }
  rpc_.notify("textDocument/publishDiagnostics", {{"uri", uri}, {"diagnostics", std::move(list)}});
}

json language_server::hover(const json& params) {
  const open_text& text = text_for(params);
  if (text.compiled == nullptr) return nullptr;
  const std::size_t offset = text.document.offset(point_of(params.at("position")));
  const std::optional<hover_text> found = hover_at(*text.compiled, text.which, offset);
  if (!found) return nullptr;
  return {{"contents", {{"kind", "markdown"}, {"value", found->markdown}}},
          {"range", range_json(text.document.point(found->from), text.document.point(found->to))}};
}

json language_server::symbols(const json& params) {
  const open_text& text = text_for(params);
  if (text.compiled == nullptr) return json::array();
  return document_symbols(*text.compiled, text.which, text.document);
}

json language_server::completion(const json& params) {
  const open_text& text = text_for(params);
  return complete_keywords(text.document, text.which, point_of(params.at("position")), snippets_);
}

int serve(std::streambuf& in, std::ostream& out) {
  language_server server([&out](const std::string& body) {
    out << framed(body);
    out.flush();
  });
  if (const auto reference = reference_beside(platform::running_program_file())) {
    server.link_codes_to(uri_from_path(*reference));
  }
  message_reader reader(in);
  server.defer_changes_while([&reader]() { return reader.more_waiting(); });
  while (!server.rpc().exited()) {
    // Before waiting for input: what changed is compiled and published.
    if (!reader.more_waiting()) {
      try {
        server.settle();
      } catch (const std::exception&) {
        // A compile that cannot be carried out (out of memory) publishes nothing.
      }
    }
    frame next;
    try {
      next = reader.next();
    } catch (const std::bad_alloc&) {
      // No memory for the message's bytes: it is lost, and the stream with it.
      server.rpc().broken_frame("out of memory for the message");
      next.what = frame::kind::end;
    }
    if (next.what == frame::kind::end) break;
    if (next.what == frame::kind::broken) {
      server.rpc().broken_frame(next.why);
    } else {
      server.rpc().receive(next.body);
    }
  }
  return server.rpc().exit_status();
}

}  // namespace scenario_tool::lsp
