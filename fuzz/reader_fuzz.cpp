// libFuzzer target: arbitrary bytes as the line description text or as the
// train description text. The reader must end every input with the model in a
// defined state: an error code or none, never a crash, a hang or an access
// outside a table.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include "driver/Form1.h"
#include "fuzz_platform.h"
#include "reader/passes.h"
#include "scenari/scenario_texts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte chooses which text the rest stands for, and whether the
  // track plan is built.
  const bool as_train_text = (data[0] & 1) != 0;
  const std::int32_t plan_flag = (data[0] & 2) != 0 ? 1 : 0;
  const std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
  static const std::string shipped_line = scenari::render_lines(scenari::linea_lines());
  static const std::string shipped_train = scenari::render_lines(scenari::treno_lines());

  fuzzing::null_platform platform;
  Form1 form(platform);
  form.model.plan_flag = plan_flag;
  try {
    reader::reader_state state;
    const std::string_view line = as_train_text ? std::string_view(shipped_line) : input;
    const std::string_view train = as_train_text ? input : std::string_view(shipped_train);
    if (reader::line_pass(form, line, state) == reader::pass_end::completed) {
      reader::train_pass(form, train, state);
    }
  } catch (const std::exception&) {
    form.model.record_error(25);
  }
  return 0;
}
