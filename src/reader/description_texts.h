// The reader's driving logic over the two description texts, apart from
// where their bytes come from: the installer reads them from the program's
// folder and deletes them, the authors' tool hands over texts it holds in
// memory and leaves the author's files alone.
#pragma once

#include <cstdint>
#include <string>

#include "model/scenario_model.h"
#include "platform/file_system.h"

namespace reader {

// The most bytes a description text read from a file may hold: 64 MiB, far
// more than any line of the longest length needs (a row at every metre of a
// 1 000 000 m line, at 64 bytes a row, stays below it). A larger text is
// refused before it is read.
inline constexpr std::uint64_t largest_text_size = 64ull * 1024 * 1024;
inline constexpr platform::read_bound text_bound{largest_text_size, "a description text"};

// Where the two texts come from, and what becomes of each once it is read.
class description_texts {
 public:
  virtual ~description_texts() = default;

  // False when there is no line text at all (error 101).
  virtual bool line_exists() = 0;
  // The whole bytes of a text; a text that cannot be had throws.
  virtual std::string read_line() = 0;
  virtual std::string read_train() = 0;
  // The text has been read to the end of its pass.
  virtual void line_done() = 0;
  virtual void train_done() = 0;
  // Reading failed (error 25): neither text is to be left behind.
  virtual void reading_failed() = 0;
  // The names that a failure message gives the texts.
  virtual std::string line_name() const = 0;
  virtual std::string train_name() const = 0;
  // True when the text was written by this same run, so that its absence is
  // a failure of the machine, not of the scenario.
  virtual bool written_by_this_run(bool /*train*/) const { return false; }
  // The run stops here (a failure of the machine): the texts are removed if
  // they can be, without hiding why the run stopped.
  virtual void run_stopped() noexcept {}
};

// Reads the line text, then (unless the line pass stopped) the train text,
// into the model. A text that cannot be read as its rows require is
// recorded as error 25, with its reason in the model's read_failure. A text the
// machine cannot read (an I/O error, too many open files, memory running out,
// a text that is not the one written) is no fault of the scenario: the
// failure passes on and the run stops before any compiled file is touched.
void read_description_texts(model::scenario_model& model, description_texts& texts);

}  // namespace reader
