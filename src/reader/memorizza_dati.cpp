// The reader: reads the line description text, then the train description
// text, from the program's folder into the scenario model, and deletes each
// text once it is read.
#include <filesystem>
#include <string>

#include "driver/Form1.h"
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
  explicit folder_texts(const Form1& form) : form_(form) {}

  bool line_exists() override {
    line_ = form_.nome_file(form_.model.route_id + "_linea.txt");
    if (!std::filesystem::exists(line_)) return false;
    train_ = form_.nome_file(form_.model.route_id + "_" + form_.model.train_number + "-.txt");
    return true;
  }
  std::string read_line() override { return read_text(form_, line_); }
  std::string read_train() override { return read_text(form_, train_); }
  void line_done() override { platform::remove_file(line_); }
  void train_done() override { platform::remove_file(train_); }
  void reading_failed() override {
    platform::remove_file(line_);
    platform::remove_file(train_);
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
  const Form1& form_;
  std::filesystem::path line_;
  std::filesystem::path train_;
};

}  // namespace

void Form1::memorizza_dati() {
  folder_texts texts(*this);
  reader::read_description_texts(*this, texts);
}
