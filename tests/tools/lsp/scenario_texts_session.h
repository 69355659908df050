// A scenario's two texts in a folder of their own, under the shipped names
// (Brisena_Tarvo_linea.txt, Brisena_Tarvo_47306-.txt), with a language server
// session, initialised, that opens them as an editor does.
#pragma once

#include <string>

#include "platform/replace_file.h"
#include "scenari/scenario_texts.h"
#include "scenario_tool/lsp/file_uri.h"
#include "scenario_tool/shared/windows_1252.h"
#include "support/temp_folder.h"
#include "tools/lsp/lsp_session.h"

namespace testing_support {

// The text as an editor sends it: UTF-8, line ends kept.
inline std::string editor_utf8(const std::string& windows_1252) {
  std::string out;
  for (const char c : windows_1252) {
    if (static_cast<unsigned char>(c) < 0x80) {
      out.push_back(c);
    } else {
      out += scenario_tool::utf8_from_windows_1252(std::string(1, c));
    }
  }
  return out;
}

inline std::string shipped_line_text() { return scenari::render_lines(scenari::linea_lines()); }
inline std::string shipped_train_text() { return scenari::render_lines(scenari::treno_lines()); }

// The texts (Windows-1252 bytes) written to the folder; the shipped ones
// unless given.
struct scenario_texts {
  temp_folder folder;
  std::string line;
  std::string train;
  std::string line_uri = scenario_tool::lsp::uri_from_path(folder / "Brisena_Tarvo_linea.txt");
  std::string train_uri = scenario_tool::lsp::uri_from_path(folder / "Brisena_Tarvo_47306-.txt");

  explicit scenario_texts(std::string line_text = shipped_line_text(),
                          std::string train_text = shipped_train_text())
      : line(std::move(line_text)), train(std::move(train_text)) {
    platform::replace_file(folder / "Brisena_Tarvo_linea.txt", line);
    platform::replace_file(folder / "Brisena_Tarvo_47306-.txt", train);
  }
};

// The texts and a session that has been initialised; nothing is open yet.
struct scenario_texts_session : scenario_texts {
  lsp_session session;

  explicit scenario_texts_session(std::string line_text = shipped_line_text(),
                                  std::string train_text = shipped_train_text())
      : scenario_texts(std::move(line_text), std::move(train_text)) {
    session.initialize();
  }
  void open_line() { session.open(line_uri, editor_utf8(line)); }
  void open_train() { session.open(train_uri, editor_utf8(train)); }
  void open_both() {
    open_line();
    open_train();
  }
};

}  // namespace testing_support
