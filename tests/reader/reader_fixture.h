// A Form1 whose reader passes run over texts held in memory.
#pragma once

#include <string>

#include "driver/Form1.h"
#include "reader/passes.h"
#include "support/fake_platform.h"

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
  fake_platform platform{"/nonexistent"};
  Form1 form{platform};
  reader::reader_state state;

  explicit reader_fixture(int plan_flag = 1) { form.model.plan_flag = plan_flag; }

  reader::pass_end line(const std::string& text) { return reader::line_pass(form, text, state); }
  reader::pass_end train(const std::string& text) { return reader::train_pass(form, text, state); }

  model::scenario_model& m() { return form.model; }
};

}  // namespace testing_support
