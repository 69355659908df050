// Helpers for the tests of the scenario's texts: the written file split into
// its lines, and the place names read from the train text's own station rows.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "driver/Form1.h"
#include "scenari/scenario_texts.h"
#include "support/fake_platform.h"
#include "support/temp_folder.h"

namespace testing_support {

// The lines of `bytes`, each of which must end with CR LF and hold no other CR
// or LF; a stray one is reported as a test failure.
inline std::vector<std::string> crlf_lines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) {
      ADD_FAILURE() << "the text does not end with CR LF after line " << lines.size();
      break;
    }
    std::string line = bytes.substr(start, end - start);
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos)
        << "stray CR or LF in line " << lines.size() + 1;
    lines.push_back(std::move(line));
    start = end + 2;
  }
  return lines;
}

// Runs one writer of a Form1 whose program folder is `folder`, for the given
// scenario identity, and returns the bytes of the file it wrote as `name`.
inline std::string written_by(const temp_folder& folder, void (Form1::*writer)(),
                              const std::string& name, const std::string& route = "Brisena_Tarvo",
                              const std::string& train = "47306") {
  fake_platform platform(folder.path().string());
  Form1 form(platform);
  form.model.route_id = route;
  form.model.train_number = train;
  (form.*writer)();
  return folder.read(name);
}

// Line `number` (counted from 1) of `lines`, or "" past the end.
inline std::string line_at(const std::vector<std::string>& lines, std::size_t number) {
  return number >= 1 && number <= lines.size() ? lines[number - 1] : std::string();
}

// The 1-based columns of `c` in `line`.
inline std::vector<int> columns_of(std::string_view line, char c) {
  std::vector<int> result;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == c) result.push_back(static_cast<int>(i) + 1);
  }
  return result;
}

inline bool printable_ascii(std::string_view line) {
  return std::all_of(line.begin(), line.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

inline std::string upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// Each word with its first letter in capitals and the others in small letters.
inline std::string mixed_case(std::string text) {
  bool first = true;
  for (char& c : text) {
    const auto u = static_cast<unsigned char>(c);
    c = static_cast<char>(first ? std::toupper(u) : std::tolower(u));
    first = c == ' ';
  }
  return text;
}

// The place names of the train text, by the chainage of their station rows:
// the chainage is the first number of a "stazione" row and the name is its
// last field, after ", ".
inline std::map<int, std::string> station_names() {
  std::map<int, std::string> names;
  for (const std::string& line : crlf_lines(scenari::render_lines(scenari::treno_lines()))) {
    if (line.rfind("stazione,", 0) != 0) continue;
    const std::size_t name_start = line.rfind(',') + 2;
    const int chainage = std::stoi(line.substr(9, line.find(',', 9) - 9));
    names[chainage] = name_start < line.size() ? line.substr(name_start) : std::string();
  }
  return names;
}

}  // namespace testing_support
