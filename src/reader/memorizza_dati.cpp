// The reader: reads the line description text, then the train description
// text, into the scenario model, and deletes each text once it is read.
#include <exception>
#include <filesystem>
#include <string>

#include "driver/Form1.h"
#include "platform/replace_file.h"
#include "reader/passes.h"

void Form1::memorizza_dati() {
  model.station(model::entry::route_header).name = model.route_id;
  model.station(model::entry::train_header).name = model.train_number;

  const std::filesystem::path line_text = nome_file(model.route_id + "_linea.txt");
  if (!std::filesystem::exists(line_text)) {
    model.record_error(101);
    return;
  }
  const std::filesystem::path train_text =
      nome_file(model.route_id + "_" + model.train_number + "-.txt");

  const std::filesystem::path* reading = &line_text;
  try {
    reader::reader_state state;
    // Each text is read whole and closed before its rows are looked at.
    const std::string line_bytes = platform::read_file(line_text);
    const reader::pass_end line_end = reader::line_pass(*this, line_bytes, state);
    platform::remove_file(line_text);
    if (line_end == reader::pass_end::stopped) return;  // the train text stays

    reading = &train_text;
    const std::string train_bytes = platform::read_file(train_text);
    reader::train_pass(*this, train_bytes, state);
    platform::remove_file(train_text);
    return;
  } catch (const platform::file_error& failure) {
    read_failure = failure.what();
  } catch (const std::exception& failure) {
    read_failure = reading->filename().string() + ": " + failure.what();
  }
  // A text that cannot be read as its rows require: neither text is left behind.
  platform::remove_file(line_text);
  platform::remove_file(train_text);
  model.record_error(25);
}
