// Small description texts written into a folder of their own and compiled by
// the authors' tool, and the installer's own compile of the same texts.
#pragma once

#include <cstdint>
#include <exception>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "driver/Form1.h"
#include "platform/replace_file.h"
#include "support/fake_platform.h"
#include "support/run_tool.h"
#include "support/temp_folder.h"

namespace compile_texts {

using testing_support::run_tool;
using testing_support::temp_folder;
using testing_support::tool_result;

inline std::string crlf(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// A line of 1000 m (cells 0 to 160) and a train with adhesion and speed: clean.
inline const std::vector<std::string> small_line = {"[generale]", "lunghezza percorso, 1000",
                                                    "[curve]", "pendenza, 0, 0", "[fine]"};
inline const std::vector<std::string> small_train = {"[generale]", "aderenza, 0, 100",
                                                     "velocita, 0, 100", "[fine]"};

inline std::vector<std::string> train_with(const std::vector<std::string>& rows) {
  std::vector<std::string> lines = {"[generale]"};
  lines.insert(lines.end(), rows.begin(), rows.end());
  lines.push_back("[fine]");
  return lines;
}

// Texts named R_linea.txt and R_1-.txt in a folder of their own, compiled
// into its "out" folder.
struct texts_in_folder {
  temp_folder folder;
  std::string line_path;
  std::string train_path;

  texts_in_folder(const std::string& line_text, const std::string& train_text)
      : line_path((folder / "R_linea.txt").string()), train_path((folder / "R_1-.txt").string()) {
    platform::replace_file(line_path, line_text);
    platform::replace_file(train_path, train_text);
  }
  tool_result compile(std::vector<std::string> extra = {}) const {
    std::vector<std::string> args = {"compile", line_path, train_path, "--out",
                                     (folder / "out").string()};
    args.insert(args.end(), extra.begin(), extra.end());
    return run_tool(args);
  }
  std::map<std::string, std::string> compiled() const {
    std::map<std::string, std::string> files;
    if (!std::filesystem::exists(folder / "out")) return files;
    for (const auto& entry : std::filesystem::directory_iterator(folder / "out")) {
      files[entry.path().filename().string()] = platform::read_file(entry.path());
    }
    return files;
  }
};

// The installer's own compile of the same texts (its reader reads and deletes
// them in its program folder): the error record and the compiled files.
struct installer_compile {
  bool stopped = false;  // errore, or nothing to compile
  std::int32_t error_code = 0;
  std::int32_t error_position = 0;
  std::map<std::string, std::string> files;
};

inline installer_compile compile_as_installer(const std::string& line_text,
                                              const std::string& train_text,
                                              const std::string& route, const std::string& train,
                                              std::int32_t j) {
  temp_folder folder;
  platform::replace_file(folder / (route + "_linea.txt"), line_text);
  platform::replace_file(folder / (route + "_" + train + "-.txt"), train_text);
  testing_support::fake_platform platform(folder.path().string());
  Form1 form(platform, {route, train});
  form.model.route_id = route;
  form.model.train_number = train;
  installer_compile result;
  try {
    form.memorizza_percorso(j);
  } catch (const std::exception&) {
    result.stopped = true;
  }
  result.error_code = form.model.error_code;
  result.error_position = form.model.error_position;
  // The compiled files only: a text the reader did not get to stays behind.
  for (const std::string& name : folder.names()) {
    if (!name.ends_with(".txt")) result.files[name] = folder.read(name);
  }
  return result;
}

inline std::string replace_all(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

}  // namespace compile_texts
