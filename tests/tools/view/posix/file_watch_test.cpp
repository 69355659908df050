// view's watch on the texts: a save in place or a copy renamed onto a text is
// noticed at once; other files of the same folder and plain reads are not.
#include "scenario_tool/view/file_watch.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/temp_folder.h"

namespace {

using scenario_tool::view::file_watch;
using testing_support::temp_folder;

void write(const std::filesystem::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
}

// Whether the watch's descriptor turns readable within a second.
bool woken(const file_watch& watch) {
  pollfd p{watch.descriptor(), POLLIN, 0};
  return ::poll(&p, 1, 1000) == 1;
}

TEST(FileWatch, ASaveOfAWatchedTextIsNoticedAndNothingElse) {
  const temp_folder folder;
  const std::filesystem::path line = folder / "R_linea.txt";
  const std::filesystem::path train = folder / "R_1-.txt";
  write(line, "a\r\n");
  write(train, "b\r\n");
  write(folder / "notes.txt", "c\r\n");
  file_watch watch({line, train});
  ASSERT_GE(watch.descriptor(), 0);
  EXPECT_FALSE(watch.take_notices()) << "nothing saved yet";

  struct change {
    const char* what;
    void (*make)(const std::filesystem::path& folder);
    bool noticed;
  };
  const change changes[] = {
      {"the line text written in place",
       [](const std::filesystem::path& f) { write(f / "R_linea.txt", "a2\r\n"); }, true},
      {"the train text replaced by a renamed copy",
       [](const std::filesystem::path& f) {
         write(f / "R_1-.txt.tmp", "b2\r\n");
         std::filesystem::rename(f / "R_1-.txt.tmp", f / "R_1-.txt");
       },
       true},
      {"another file of the folder written",
       [](const std::filesystem::path& f) { write(f / "notes.txt", "c2\r\n"); }, false},
      {"the line text read",
       [](const std::filesystem::path& f) {
         std::string text;
         std::ifstream(f / "R_linea.txt") >> text;
       },
       false},
  };
  for (const change& c : changes) {
    SCOPED_TRACE(c.what);
    c.make(folder.path());
    if (c.noticed) {
      ASSERT_TRUE(woken(watch));
    }
    EXPECT_EQ(watch.take_notices(), c.noticed);
    EXPECT_FALSE(watch.take_notices()) << "each notice is taken once";
  }
}

}  // namespace
