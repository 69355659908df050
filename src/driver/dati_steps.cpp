// The installer's first five steps: each writes one embedded text or driver
// document (or the packaged scenario's own) into the program's folder. The
// texts and documents themselves live in src/scenari.
#include <filesystem>

#include "driver/Form1.h"
#include "model/file_names.h"
#include "scenari/carried_scenario.h"
#include "scenari/scenario_texts.h"
#include "scenari/text_writer.h"

void Form1::dati_linea() {
  const std::filesystem::path file =
      nome_file(model::file_name(model, model::scenario_file::line_text));
  // Read back and deleted by this run's reader: never flushed to the disk.
  if (carried_ != nullptr) {
    scenari::write_recorded_text(texts_written, file, carried_->line_text);
  } else {
    scenari::write_recorded_text(texts_written, file, scenari::linea_lines());
  }
}

void Form1::dati_treno() {
  const std::filesystem::path file =
      nome_file(model::file_name(model, model::scenario_file::train_text));
  // Read back and deleted by this run's reader: never flushed to the disk.
  if (carried_ != nullptr) {
    scenari::write_recorded_text(texts_written, file, carried_->train_text);
  } else {
    scenari::write_recorded_text(texts_written, file, scenari::treno_lines());
  }
}

void Form1::dati_note() {
  const std::filesystem::path file =
      nome_file(model::file_name(model, model::scenario_file::notes));
  if (carried_ == nullptr) {
    scenari::write_line_list(file, scenari::note_lines());
  } else if (carried_->notes) {
    scenari::write_text(file, *carried_->notes);
  }
}

void Form1::dati_rallentamenti() {
  const std::filesystem::path file =
      nome_file(model::file_name(model, model::scenario_file::slowdown_order));
  if (carried_ == nullptr) {
    scenari::write_line_list(file, scenari::rallentamenti_lines());
  } else if (carried_->slowdown_order) {
    scenari::write_text(file, *carried_->slowdown_order);
  }
}

void Form1::dati_scheda() {
  const std::filesystem::path file =
      nome_file(model::file_name(model, model::scenario_file::train_card));
  if (carried_ == nullptr) {
    scenari::write_line_list(file, scenari::scheda_lines());
  } else if (carried_->train_card) {
    scenari::write_text(file, *carried_->train_card);
  }
}
