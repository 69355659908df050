// Writes the seed corpora of the fuzz targets: the two shipped texts, each
// behind the selector byte that makes the target read it, with and without
// the track plan. "write_seeds DIR" seeds the reader target, "write_seeds DIR
// compile" the compile target (whose selector also offers both texts at once,
// split at a zero byte), "write_seeds DIR lsp" the language server's target with
// an editor's session on each text.
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/replace_file.h"
#include "scenari/scenario_texts.h"

namespace {

// A text as a JSON string, each Windows-1252 byte above 127 as the UTF-8 of
// the Latin-1 character it is read as.
std::string json_string(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (u < 0x20) {
      out += ' ';
    } else if (u < 0x80) {
      out += c;
    } else {
      out += static_cast<char>(0xC0 | (u >> 6));
      out += static_cast<char>(0x80 | (u & 0x3F));
    }
  }
  return out + "\"";
}

std::string framed(const std::string& body) {
  return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

// An editor's session on one text: open, an edit, hover, outline,
// completion, shutdown and exit.
std::string lsp_session(const std::string& uri, const std::string& text) {
  const std::string doc = "{\"uri\":\"" + uri + "\"}";
  const std::string at = "\"position\":{\"line\":3,\"character\":2}";
  std::string s;
  s += framed(R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{"capabilities":{}}})");
  s += framed(R"({"jsonrpc":"2.0","method":"initialized","params":{}})");
  s += framed(
      R"({"jsonrpc":"2.0","method":"textDocument/didOpen","params":{"textDocument":{"uri":")" +
      uri + R"(","languageId":"text","version":1,"text":)" + json_string(text) + "}}}");
  s += framed(
      R"({"jsonrpc":"2.0","method":"textDocument/didChange","params":{"textDocument":{"uri":")" +
      uri +
      R"(","version":2},"contentChanges":[{"range":{"start":{"line":2,"character":0},"end":{"line":2,"character":3}},"text":"x"}]}})");
  s += framed(R"({"jsonrpc":"2.0","id":2,"method":"textDocument/hover","params":{"textDocument":)" +
              doc + "," + at + "}}");
  s += framed(
      R"({"jsonrpc":"2.0","id":3,"method":"textDocument/documentSymbol","params":{"textDocument":)" +
      doc + "}}");
  s += framed(
      R"({"jsonrpc":"2.0","id":4,"method":"textDocument/completion","params":{"textDocument":)" +
      doc + "," + at + "}}");
  s += framed(R"({"jsonrpc":"2.0","id":5,"method":"shutdown"})");
  s += framed(R"({"jsonrpc":"2.0","method":"exit"})");
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  const bool compile = argc == 3 && std::string(argv[2]) == "compile";
  const bool lsp = argc == 3 && std::string(argv[2]) == "lsp";
  if (argc != 2 && !compile && !lsp) {
    std::fprintf(stderr, "usage: %s <corpus folder> [compile|lsp]\n", argv[0]);
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder);
  const std::string line = scenari::render_lines(scenari::linea_lines());
  const std::string train = scenari::render_lines(scenari::treno_lines());
  if (lsp) {
    // Texts in a folder that does not exist: each is checked alone.
    platform::replace_file(folder / "line", lsp_session("file:///nonexistent/R_linea.txt", line));
    platform::replace_file(folder / "train", lsp_session("file:///nonexistent/R_1-.txt", train));
    return 0;
  }
  if (compile) {
    // Bit 0 the plan; bits 1 and 2: 0 the line text, 1 the train text, 2 both.
    for (const char plan : {0, 1}) {
      const std::string p = std::to_string(plan);
      platform::replace_file(folder / ("line_" + p), std::string(1, plan) + line);
      platform::replace_file(folder / ("train_" + p),
                             std::string(1, static_cast<char>(plan | 2)) + train);
      platform::replace_file(folder / ("both_" + p),
                             std::string(1, static_cast<char>(plan | 4)) + line + '\0' + train);
    }
    return 0;
  }
  for (const char plan : {0, 2}) {
    platform::replace_file(folder / ("line_" + std::to_string(plan)), std::string(1, plan) + line);
    platform::replace_file(folder / ("train_" + std::to_string(plan)),
                           std::string(1, static_cast<char>(plan | 1)) + train);
  }
  return 0;
}
