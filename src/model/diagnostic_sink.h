// What the reader, the record stores and the walk tell an observer that wants
// to name the row behind each recorded error: which text is being read, where
// its fields and rows begin, which cells a row fills, and which object a
// walk error comes from. The installer has none (the model's pointer is null),
// and a run with one records exactly the same model as a run without.
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include "model/row_reading.h"

namespace model {

class diagnostic_sink {
 public:
  virtual ~diagnostic_sink() = default;

  // The reader begins a text; offsets below are byte offsets into `bytes`.
  virtual void text_started(description_text text, std::string_view bytes) = 0;
  // A field begins at `offset` (after its leading blanks).
  virtual void field_started(std::size_t offset) = 0;
  // The field that began last is the keyword of a row.
  virtual void row_started() = 0;
  // The row has read all its values (a row that ends the pass never finishes).
  virtual void row_finished() = 0;
  // The rows that follow are body rows: the line text's header has ended, or
  // the field read last is the train text's "[generale]".
  virtual void body_started() = 0;

  // An error code has been recorded; `position` is null when it comes without one.
  virtual void error_recorded(std::int32_t code, const std::int32_t* position) = 0;
  // The position of the error recorded last, set after its code.
  virtual void error_position_recorded(std::int32_t position) = 0;
  // The error recorded last comes from the object that lies in `cell`.
  virtual void error_from_cell(std::int64_t cell) = 0;
  // The error recorded last (2) comes from the chainage reference now in `entry`.
  virtual void error_from_reference(int entry) = 0;

  // The current row has put an object into `cell`.
  virtual void cell_filled(std::int64_t cell) = 0;
  // The walk has put a speed point into `cell` for the object in `trigger`.
  virtual void cell_filled_by_walk(std::int64_t cell, std::int64_t trigger) = 0;

  // The current text could not be read as its rows require (error 25 follows).
  virtual void read_failed(const std::exception& failure) = 0;

  // A row has ended, however it ended: read whole, stopped by an error (after
  // the error is recorded) or cut short by a failure of the text (before it is
  // told). Every row that started is handed on once.
  virtual void row_read(const row_reading& /*row*/) {}
  // The reading stops here: after the error that stops it is recorded (and,
  // for a row's error, after the row is handed on).
  virtual void reading_stopped(reading_stop /*how*/) {}
};

}  // namespace model
