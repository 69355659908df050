// Inlay hints through the protocol on the shipped texts: where each object
// landed, and the speed points the walk added for it.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "platform/replace_file.h"
#include "scenari/scenario_texts.h"
#include "scenario_tool/lsp/file_uri.h"
#include "support/temp_folder.h"
#include "tools/lsp/lsp_session.h"

namespace {

using nlohmann::json;
using testing_support::lsp_session;

TEST(LanguageServerInlayHints, EachObjectRowSaysWhereItLanded) {
  testing_support::temp_folder folder;
  const std::string line = scenari::render_lines(scenari::linea_lines());
  const std::string train = scenari::render_lines(scenari::treno_lines());
  platform::replace_file(folder / "Brisena_Tarvo_linea.txt", line);
  platform::replace_file(folder / "Brisena_Tarvo_47306-.txt", train);
  const std::string uri = scenario_tool::lsp::uri_from_path(folder / "Brisena_Tarvo_47306-.txt");
  lsp_session session;
  const json capabilities =
      session.request("initialize", {{"capabilities", json::object()}})["result"]["capabilities"];
  EXPECT_EQ(capabilities["inlayHintProvider"], true);
  session.notify("initialized", json::object());
  session.open(uri, train);  // ASCII only: the bytes are the UTF-8

  // The line that starts with `start`.
  const auto line_starting = [&train](const std::string& start) {
    for (std::size_t at = 0, n = 0; at < train.size(); at = train.find("\r\n", at) + 2, ++n) {
      if (train.compare(at, start.size(), start) == 0) return static_cast<int>(n);
    }
    return 0;
  };
  // The first signal, "segnale,    1600, ...", and a slowdown past the
  // kilometric reference at 12800 m, from where the posts restart.
  const int signal_line = line_starting("segnale,    1600");
  const int slowdown_line = line_starting("rallentamento,   16850");
  ASSERT_GT(signal_line, 0);
  ASSERT_GT(slowdown_line, 0);
  const json range = {{"start", {{"line", 0}, {"character", 0}}},
                      {"end", {{"line", 200}, {"character", 0}}}};
  const json hints = session.request(
      "textDocument/inlayHint", {{"textDocument", {{"uri", uri}}}, {"range", range}})["result"];
  ASSERT_TRUE(hints.is_array()) << hints;
  bool signal_hinted = false;
  bool slowdown_hinted = false;
  bool walk_hinted = false;
  for (const json& h : hints) {
    const std::string label = h["label"];
    if (h["position"]["line"] == signal_line) {
      signal_hinted = true;
      EXPECT_EQ(label.rfind("→ cell 33 · km 1+600", 0), 0u) << label;
    }
    if (h["position"]["line"] == slowdown_line) {
      slowdown_hinted = true;
      EXPECT_NE(label.find(" · km 4+050"), std::string::npos) << label;
    }
    if (label.find("speed point") != std::string::npos) walk_hinted = true;
  }
  EXPECT_TRUE(signal_hinted) << hints.dump(2);
  EXPECT_TRUE(slowdown_hinted) << hints.dump(2);
  EXPECT_TRUE(walk_hinted) << hints.dump(2);

  // A range holds only its own rows' hints.
  const json one_line = {{"start", {{"line", signal_line}, {"character", 0}}},
                         {"end", {{"line", signal_line}, {"character", 5}}}};
  const json few = session.request(
      "textDocument/inlayHint", {{"textDocument", {{"uri", uri}}}, {"range", one_line}})["result"];
  ASSERT_EQ(few.size(), 1u) << few.dump(2);
}

}  // namespace
