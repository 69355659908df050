// What the installer needs of the machine it runs on: the folder that holds
// the program, the wait window and the message box. One implementation per
// platform (console_platform.cpp here, windows_platform.cpp for a native
// Windows build); tests use a fake.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

namespace platform {

// Design of the start-up window in twips (1440 to the inch), the data a
// windowed platform lays out; a console platform only shows the label text.
struct window_design {
  // The window's title bar; the driver names the scenario there.
  std::string caption;
  int client_width = 4200;
  int client_height = 2688;
  std::string label_caption = "Attendere";
  int label_left = 960;
  int label_top = 960;
  int label_width = 2652;
  int label_height = 792;
  std::string label_font = "MS Sans Serif";
  int label_font_points = 24;
  int label_font_weight = 700;
  int label_font_charset = 0;
};

// Texts handed to a platform (captions, messages, failure lines) are UTF-8;
// the scenario's own file names are plain ASCII.
class platform {
 public:
  virtual ~platform() = default;

  // The folder of the running program file, normally without a trailing
  // separator; in the system's own width (wide characters on Windows), so that
  // any folder name reaches the file calls unchanged.
  virtual std::filesystem::path program_folder() = 0;
  // The separator that joins the folder and a file's own name.
  virtual char separator() const = 0;

  // Shows the wait window, modeless, and repaints it once.
  virtual void show_window(const window_design& design) = 0;
  // Destroys the window at the end of the run (nothing if none is shown).
  virtual void destroy_window() = 0;

  // A modal box with the text and one OK button; returns when it is dismissed.
  virtual void message_box(const std::string& text) = 0;

  // Reports a failure that ends the run (one line naming the cause).
  virtual void report_failure(const std::string& text) = 0;
};

// The running program's own file, by its path (its folder is where a run
// writes).
std::filesystem::path running_program_file();

// What to open to read the running program's own bytes: the image that runs,
// whatever now stands at its path (on Linux, the file that was started even
// when it has since been replaced or deleted).
std::filesystem::path running_program_image();

// The platform this build runs on.
std::unique_ptr<platform> make_native_platform();

}  // namespace platform
