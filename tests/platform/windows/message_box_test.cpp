// The native message box: shown modal, found and read by a helper thread as a
// user would see it, then dismissed with its OK button.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "platform/platform.h"
#include "platform/windows/win32_windows.h"

namespace {

using testing_support::message_box_view;

struct box_case {
  const char* name;
  bool over_the_wait_window;  // the run's window is up, as when errore stops a run
  bool as_failure_report;     // report_failure rather than message_box
  std::string text;           // UTF-8
  std::wstring expected_text;
};

void PrintTo(const box_case& c, std::ostream* out) {
  *out << c.name;
}

class NativeMessageBox : public ::testing::TestWithParam<box_case> {};

TEST_P(NativeMessageBox, ShowsTheTextAloneWithOneOkButtonAndReturnsWhenPressed) {
  const box_case& c = GetParam();
  auto native = platform::make_native_platform();
  platform::window_design design;
  design.caption = "Message box test window";
  if (c.over_the_wait_window) native->show_window(design);
  HWND wait_window =
      c.over_the_wait_window ? ::FindWindowW(nullptr, L"Message box test window") : nullptr;

  bool seen = false;
  message_box_view view;
  std::thread user([&] {
    HWND box =
        testing_support::wait_for_message_box(::GetCurrentProcessId(), std::chrono::seconds(30));
    if (box == nullptr) return;
    seen = true;
    view = testing_support::read_message_box(box);
    testing_support::press_ok(box);
  });
  if (c.as_failure_report) {
    native->report_failure(c.text);
  } else {
    native->message_box(c.text);
  }
  user.join();
  native->destroy_window();

  ASSERT_TRUE(seen) << "no message box appeared";
  EXPECT_EQ(view.text, c.expected_text);
  EXPECT_EQ(view.buttons.size(), 1u);
  EXPECT_EQ(view.button_ids, std::vector<int>{IDOK});
  EXPECT_EQ(view.icons, 0);
  // No title of its own: the application's, its program file's name.
  EXPECT_EQ(view.title, testing_support::program_stem());
  EXPECT_EQ(view.owner, wait_window);
  // Dismissed: the box is gone when the call returns.
  EXPECT_TRUE(testing_support::top_level_windows(::GetCurrentProcessId(),
                                                 testing_support::message_box_class)
                  .empty());
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, NativeMessageBox,
    ::testing::Values(
        // The leading blank of the numbered error is kept.
        box_case{"NumberedError", false, false, " Errore n. 1250", L" Errore n. 1250"},
        box_case{"NumberedErrorOverTheWaitWindow", true, false, " Errore n. 1251",
                 L" Errore n. 1251"},
        box_case{"EmptyNumber", true, false, " Errore n. ", L" Errore n. "},
        // A failure line names a file whose folder is outside the ANSI code page.
        box_case{"FailureLineWithAWideFolderName", false, true,
                 "cannot replace C:\\Scenari \xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1 "
                 "\xD0\x9C\xD0\xB8\xD1\x80\\Brisena_Tarvo_47306.sim: Access denied",
                 L"cannot replace C:\\Scenari \u0395\u03bb\u03bb\u03ac\u03b4\u03b1 "
                 L"\u041c\u0438\u0440\\Brisena_Tarvo_47306.sim: Access denied"}),
    [](const ::testing::TestParamInfo<box_case>& info) { return std::string(info.param.name); });

}  // namespace
