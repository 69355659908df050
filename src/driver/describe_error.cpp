#include "driver/Form1.h"
#include "model/error_codes.h"

std::string Form1::describe_error() const {
  std::string line = model::describe_recorded_error(model);
  if (model.error_code == 25 && !model.read_failure.empty()) {
    line += " (" + model.read_failure + ")";
  }
  return line;
}
