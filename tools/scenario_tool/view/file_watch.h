// Tells view when one of the watched files may have been saved. On Linux the
// kernel's notices (inotify) on the files' folders wake the server as soon as
// a file is closed after writing or renamed into place, as editors save;
// where there are none (Windows), the server compares the files' sizes and
// times every 60 ms, well within the half second a save may take to show.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace scenario_tool::view {

class file_watch {
 public:
  explicit file_watch(const std::vector<std::filesystem::path>& files);
  ~file_watch();
  file_watch(const file_watch&) = delete;
  file_watch& operator=(const file_watch&) = delete;

  // The descriptor that becomes readable on a notice, or -1 when this system
  // gives none (the server then polls the files' times).
  int descriptor() const { return fd_; }
  // Reads every pending notice; true when one names a watched file.
  bool take_notices();

 private:
  int fd_ = -1;
  std::vector<std::string> names_;   // the watched files' names
  std::vector<int> folder_of_name_;  // the watch descriptor of each name's folder
};

// The watched files' sizes and modification times, as one comparable text:
// times to the system's finest (a save within the second of the last, of
// the same size, still changes it).
std::string file_stamps(const std::vector<std::filesystem::path>& files);

}  // namespace scenario_tool::view
