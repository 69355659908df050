#include "reader/description_texts.h"

#include <exception>
#include <new>

#include "platform/replace_file.h"
#include "reader/passes.h"

namespace reader {

void read_description_texts(model::scenario_model& model, description_texts& texts) {
  model.station(model::entry::route_header).name = model.route_id;
  model.station(model::entry::train_header).name = model.train_number;

  if (!texts.line_exists()) {
    model.record_error(101);
    return;
  }

  bool reading_train = false;
  try {
    reader_state state;
    // Each text is read whole before its rows are looked at.
    const std::string line_bytes = texts.read_line();
    if (model.diagnostics != nullptr) {
      model.diagnostics->text_started(model::description_text::line, line_bytes);
    }
    const pass_end line_end = line_pass(model, line_bytes, state);
    texts.line_done();
    if (line_end == pass_end::stopped) return;  // the train text stays

    reading_train = true;
    const std::string train_bytes = texts.read_train();
    if (model.diagnostics != nullptr) {
      model.diagnostics->text_started(model::description_text::train, train_bytes);
    }
    train_pass(model, train_bytes, state);
    texts.train_done();
    return;
  } catch (const platform::file_error& failure) {
    // Only a text that is not there at all is the scenario's fault, and only
    // when this run did not write it.
    if (!failure.missing() || texts.written_by_this_run(reading_train)) {
      texts.run_stopped();
      throw;
    }
    model.read_failure = failure.what();
    if (model.diagnostics != nullptr) model.diagnostics->read_failed(failure);
  } catch (const std::bad_alloc&) {
    texts.run_stopped();
    throw;
  } catch (const std::exception& failure) {
    model.read_failure =
        (reading_train ? texts.train_name() : texts.line_name()) + ": " + failure.what();
    if (model.diagnostics != nullptr) model.diagnostics->read_failed(failure);
  }
  // A text that cannot be read as its rows require: neither text is left behind.
  texts.reading_failed();
  model.record_error(25);
  if (model.diagnostics != nullptr) model.diagnostics->reading_stopped(model::reading_stop::reader);
}

}  // namespace reader
