// The reader's and the assembly's steps of the run: the line description
// text, then the train description text, read from the program's folder into
// the scenario model and each deleted once read; then the compiled files
// written into the same folder.
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

#include "assembly/compile.h"
#include "assembly/compiled_files.h"
#include "driver/Form1.h"
#include "model/file_names.h"
#include "platform/replace_file.h"
#include "reader/description_texts.h"

namespace {

// The text's bytes as they stand in the folder. When this run wrote the text,
// anything else read back (another hand changed or removed it, the disk
// returned other bytes) stops the run: compiling it would put a wrong
// scenario over good files.
std::string read_text(const Form1& form, const std::filesystem::path& text) {
  std::string bytes = platform::read_file(text);
  const auto written = form.texts_written.find(text);
  if (written != form.texts_written.end() && written->second != bytes) {
    throw platform::file_error(text, "read back",
                               "it is not the text this run wrote (" +
                                   std::to_string(bytes.size()) + " bytes read, " +
                                   std::to_string(written->second.size()) + " written)");
  }
  return bytes;
}

// The two texts as files in the program's folder, deleted once read. The
// train text's name is only asked for once the line text is known to exist.
class folder_texts final : public reader::description_texts {
 public:
  explicit folder_texts(Form1& form) : form_(form) {}

  bool line_exists() override {
    line_ = form_.nome_file(model::file_name(form_.model, model::scenario_file::line_text));
    std::error_code failed;
    const bool exists = std::filesystem::exists(line_, failed);
    if (failed) throw platform::file_error(line_, "look for", failed.message());
    if (!exists) return false;
    train_ = form_.nome_file(model::file_name(form_.model, model::scenario_file::train_text));
    return true;
  }
  std::string read_line() override { return read_text(form_, line_); }
  std::string read_train() override { return read_text(form_, train_); }
  void line_done() override { remove(line_); }
  void train_done() override { remove(train_); }
  void reading_failed() override {
    remove(line_);
    remove(train_);
  }
  std::string line_name() const override { return line_.filename().string(); }
  std::string train_name() const override { return train_.filename().string(); }
  bool written_by_this_run(bool train) const override {
    return form_.texts_written.contains(train ? train_ : line_);
  }
  void run_stopped() noexcept override {
    platform::remove_file_quietly(line_);
    platform::remove_file_quietly(train_);
  }

 private:
  // Deletes a text; once gone it is no longer the run's to delete.
  void remove(const std::filesystem::path& text) {
    platform::remove_file(text);
    form_.texts_written.erase(text);
  }

  Form1& form_;
  std::filesystem::path line_;
  std::filesystem::path train_;
};

}  // namespace

void Form1::memorizza_dati() {
  folder_texts texts(*this);
  reader::read_description_texts(model, texts);
}

void Form1::memorizza_percorso(std::int32_t& j) {
  folder_texts texts(*this);
  const assembly::compile_input input{texts, model.route_id,    model.train_number,
                                      j,     model.diagnostics, {}};
  const assembly::compile_outcome outcome = assembly::compile(model, input);
  switch (outcome) {
    case assembly::compile_outcome::compiled:
      break;
    case assembly::compile_outcome::nothing_to_compile:
      throw std::runtime_error("nothing to compile: the line description gave no track cells (" +
                               describe_error() + ")");
    case assembly::compile_outcome::format_tag_taken:
    case assembly::compile_outcome::check_code_taken:
      errore(std::to_string(assembly::stop_number(outcome)));
  }
  assembly::write_compiled_files(
      model, [this](const std::string& own_name) { return nome_file(own_name); });
}
