// The language server's answer to an edit: the time from a change of the
// train text arriving to the diagnostics of that text being published, which
// is one whole compile of both texts in memory. For the shipped scenario and
// for a generated line of the greatest length, both texts open in the editor.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "bench_platform.h"
#include "bench_scenario.h"
#include "platform/replace_file.h"
#include "scenari/scenario_texts.h"
#include "scenario_tool/lsp/file_uri.h"
#include "scenario_tool/lsp/language_server.h"

namespace {

using clock_type = std::chrono::steady_clock;
using nlohmann::json;

// The bytes of a Windows-1252 text as an editor sends them (UTF-8).
std::string utf8(const std::string& text) {
  std::string out;
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x80) {
      out.push_back(c);
    } else {
      out.push_back(static_cast<char>(0xC0 | (u >> 6)));
      out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
    }
  }
  return out;
}

// Both texts written to a scratch folder and open in a language server that
// has been initialised with `options`; `sent` sees each message it sends.
struct open_scenario {
  bench::scratch_folder folder;
  std::string line_uri;
  std::string train_uri;
  scenario_tool::lsp::language_server server;

  open_scenario(const char* name, const std::string& line, const std::string& train,
                scenario_tool::lsp::connection::sender sent, const json& options = nullptr)
      : folder(name),
        line_uri(scenario_tool::lsp::uri_from_path(folder.path() / "R_linea.txt")),
        train_uri(scenario_tool::lsp::uri_from_path(folder.path() / "R_1-.txt")),
        server(std::move(sent)) {
    platform::replace_file(folder.path() / "R_linea.txt", line);
    platform::replace_file(folder.path() / "R_1-.txt", train);
    json params = {{"capabilities", json::object()}};
    if (!options.is_null()) params["initializationOptions"] = options;
    send({{"jsonrpc", "2.0"}, {"id", 1}, {"method", "initialize"}, {"params", params}});
    for (const auto& [uri, text] : {std::pair{line_uri, line}, std::pair{train_uri, train}}) {
      send({{"jsonrpc", "2.0"},
            {"method", "textDocument/didOpen"},
            {"params",
             {{"textDocument",
               {{"uri", uri}, {"languageId", "text"}, {"version", 1}, {"text", utf8(text)}}}}}});
    }
  }
  void send(const json& message) { server.rpc().receive(message.dump()); }
};

void edit_to_diagnostics(benchmark::State& state, const std::string& line,
                         const std::string& train) {
  clock_type::time_point published{};
  std::string wanted;
  open_scenario open("lsp", line, train, [&](const std::string& body) {
    if (published == clock_type::time_point{} && !wanted.empty() &&
        body.find("textDocument/publishDiagnostics") != std::string::npos &&
        body.find(wanted) != std::string::npos) {
      published = clock_type::now();
    }
  });
  const std::string& train_uri = open.train_uri;
  wanted = "\"uri\":\"" + train_uri + "\"";
  scenario_tool::lsp::language_server& server = open.server;

  // Alternately a blank typed at the start of the second line, and taken away.
  int version = 1;
  for (auto _ : state) {
    const bool add = version % 2 == 1;
    const json change = {{"range",
                          {{"start", {{"line", 1}, {"character", 0}}},
                           {"end", {{"line", 1}, {"character", add ? 0 : 1}}}}},
                         {"text", add ? " " : ""}};
    const std::string message =
        json({{"jsonrpc", "2.0"},
              {"method", "textDocument/didChange"},
              {"params",
               {{"textDocument", {{"uri", train_uri}, {"version", ++version}}},
                {"contentChanges", json::array({change})}}}})
            .dump();
    published = {};
    const clock_type::time_point start = clock_type::now();
    server.rpc().receive(message);
    if (published == clock_type::time_point{}) {
      state.SkipWithError("no diagnostics were published");
      break;
    }
    state.SetIterationTime(std::chrono::duration<double>(published - start).count());
  }
}

// The time of one request on one of the open texts, both open: formatting,
// semantic tokens, folding, outline and signature help.
void answer(benchmark::State& state, const std::string& line, const std::string& train,
            bool on_train, const std::string& method, const json& extra,
            const json& options = nullptr) {
  bool answered = false;
  open_scenario open(
      "lsp_requests", line, train,
      [&](const std::string& body) {
        if (body.find("\"result\"") != std::string::npos) answered = true;
      },
      options);
  const std::string& line_uri = open.line_uri;
  const std::string& train_uri = open.train_uri;
  scenario_tool::lsp::language_server& server = open.server;
  json params = extra;
  params["textDocument"] = {{"uri", on_train ? train_uri : line_uri}};
  const std::string message =
      json({{"jsonrpc", "2.0"}, {"id", 2}, {"method", method}, {"params", params}}).dump();
  for (auto _ : state) {
    answered = false;
    server.rpc().receive(message);
    if (!answered) {
      state.SkipWithError("no answer");
      break;
    }
  }
}

void requests(benchmark::State& state, bool longest_line, bool on_train, const std::string& method,
              const json& extra, const json& options = nullptr) {
  if (longest_line) {
    static const std::string line = bench::longest_line_text();
    static const std::string train = bench::longest_train_text();
    answer(state, line, train, on_train, method, extra, options);
  } else {
    answer(state, scenari::render_lines(scenari::linea_lines()),
           scenari::render_lines(scenari::treno_lines()), on_train, method, extra, options);
  }
}

void shipped(benchmark::State& state) {
  edit_to_diagnostics(state, scenari::render_lines(scenari::linea_lines()),
                      scenari::render_lines(scenari::treno_lines()));
}
void longest(benchmark::State& state) {
  static const std::string line = bench::longest_line_text();
  static const std::string train = bench::longest_train_text();
  edit_to_diagnostics(state, line, train);
}

}  // namespace

BENCHMARK(shipped)
    ->Name("edit_to_diagnostics/shipped")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(longest)
    ->Name("edit_to_diagnostics/longest")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

const json at_row = {{"position", {{"line", 20}, {"character", 10}}}};
const json whole = {{"options", {{"tabSize", 4}, {"insertSpaces", true}}}};
BENCHMARK_CAPTURE(requests, formatting_shipped, false, false, "textDocument/formatting", whole)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(requests, formatting_longest, true, false, "textDocument/formatting", whole)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(requests, semantic_tokens_shipped, false, false,
                  "textDocument/semanticTokens/full", json::object())
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(requests, semantic_tokens_longest, true, false,
                  "textDocument/semanticTokens/full", json::object())
    ->Unit(benchmark::kMillisecond);
const json every_line = {{"range",
                          {{"start", {{"line", 0}, {"character", 0}}},
                           {"end", {{"line", 10000000}, {"character", 0}}}}}};
BENCHMARK_CAPTURE(requests, inlay_hints_longest_line_text, true, false, "textDocument/inlayHint",
                  every_line)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(requests, inlay_hints_longest_train_text, true, true, "textDocument/inlayHint",
                  every_line)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(requests, inlay_hints_shipped_train_text, false, true, "textDocument/inlayHint",
                  every_line)
    ->Unit(benchmark::kMillisecond);
// With each value's name before it too (the setting on).
const json value_names = {{"scenarioTexts", {{"inlayHints", {{"valueNames", true}}}}}};
BENCHMARK_CAPTURE(requests, inlay_hints_value_names_longest_line_text, true, false,
                  "textDocument/inlayHint", every_line, value_names)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(requests, inlay_hints_value_names_shipped_train_text, false, true,
                  "textDocument/inlayHint", every_line, value_names)
    ->Unit(benchmark::kMillisecond);
// The quick fix for a row's surplus number, on the shipped line text's row 20
// ("curvas4,  2550,  50", its last value taken for one).
const json surplus = {
    {"range",
     {{"start", {{"line", 20}, {"character", 0}}}, {"end", {{"line", 20}, {"character", 1}}}}},
    {"context",
     {{"diagnostics",
       json::array({{{"range",
                      {{"start", {{"line", 20}, {"character", 17}}},
                       {"end", {{"line", 20}, {"character", 19}}}}},
                     {"code", "stray-number"},
                     {"message", "a number stands where a keyword is expected"}}})}}}};
BENCHMARK_CAPTURE(requests, code_action_shipped, false, false, "textDocument/codeAction", surplus)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(requests, folding_longest, true, false, "textDocument/foldingRange",
                  json::object())
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(requests, outline_longest, true, false, "textDocument/documentSymbol",
                  json::object())
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(requests, signature_help_longest, true, false, "textDocument/signatureHelp",
                  at_row)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
