// A scenario model that the reader passes fill from texts held in memory: no
// window, no platform.
#pragma once

#include <string>

#include "model/scenario_model.h"
#include "reader/passes.h"

namespace testing_support {

// Joins lines with CR LF, the line end of every description text.
inline std::string crlf_text(std::initializer_list<std::string> lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

// A line description of the given length whose body follows "[curve]".
inline std::string line_text(int length, const std::string& body) {
  return "[generale]\r\nlunghezza percorso,    " + std::to_string(length) + "\r\n[curve]\r\n" +
         body + "[fine]\r\n";
}

struct reader_fixture {
  model::scenario_model model;
  reader::reader_state state;

  explicit reader_fixture(int plan_flag = 1) { model.plan_flag = plan_flag; }

  reader::pass_end line(const std::string& text) { return reader::line_pass(model, text, state); }
  reader::pass_end train(const std::string& text) { return reader::train_pass(model, text, state); }

  model::scenario_model& m() { return model; }
};

}  // namespace testing_support
