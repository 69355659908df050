// The reader: reads the line description text, then the train description
// text, from the program's folder into the scenario model, and deletes each
// text once it is read.
#include <filesystem>
#include <string>

#include "driver/Form1.h"
#include "platform/replace_file.h"
#include "reader/description_texts.h"

namespace {

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
  std::string read_line() override { return platform::read_file(line_); }
  std::string read_train() override { return platform::read_file(train_); }
  void line_done() override { platform::remove_file(line_); }
  void train_done() override { platform::remove_file(train_); }
  void reading_failed() override {
    platform::remove_file(line_);
    platform::remove_file(train_);
  }
  std::string line_name() const override { return line_.filename().string(); }
  std::string train_name() const override { return train_.filename().string(); }

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
