// Finding and reading the windows a process shows, through the Win32 API, as a
// user would see them: for the wait-window, message-box and installer tests.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

inline std::wstring window_text(HWND window) {
  const int length = ::GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = ::GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return text;
}

inline std::wstring class_name(HWND window) {
  wchar_t name[256] = {};
  const int length = ::GetClassNameW(window, name, 256);
  return std::wstring(name, static_cast<std::size_t>(length > 0 ? length : 0));
}

// The visible top-level windows of a process that have the given class.
inline std::vector<HWND> top_level_windows(DWORD process_id, const std::wstring& window_class) {
  struct search {
    DWORD process_id;
    const std::wstring* window_class;
    std::vector<HWND> found;
  } state{process_id, &window_class, {}};
  ::EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto& s = *reinterpret_cast<search*>(data);
        DWORD owner_process = 0;
        ::GetWindowThreadProcessId(window, &owner_process);
        if (owner_process == s.process_id && ::IsWindowVisible(window) &&
            class_name(window) == *s.window_class) {
          s.found.push_back(window);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&state));
  return state.found;
}

// The visible child windows of a window, with the given class (any case).
inline std::vector<HWND> visible_children(HWND parent, const std::wstring& window_class) {
  struct search {
    const std::wstring* window_class;
    std::vector<HWND> found;
  } state{&window_class, {}};
  ::EnumChildWindows(
      parent,
      [](HWND window, LPARAM data) -> BOOL {
        auto& s = *reinterpret_cast<search*>(data);
        if (::IsWindowVisible(window) &&
            ::lstrcmpiW(class_name(window).c_str(), s.window_class->c_str()) == 0) {
          s.found.push_back(window);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&state));
  return state.found;
}

// The message-box window class of the system.
inline const std::wstring message_box_class = L"#32770";

// Waits up to `limit` for a message box of the process; nullptr if none came.
inline HWND wait_for_message_box(DWORD process_id, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  for (;;) {
    const auto boxes = top_level_windows(process_id, message_box_class);
    if (!boxes.empty()) return boxes.front();
    if (std::chrono::steady_clock::now() >= end) return nullptr;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

// What a message box shows: its title, its text, its buttons and icons.
struct message_box_view {
  std::wstring title;
  std::wstring text;
  std::vector<std::wstring> buttons;  // the captions of its visible buttons
  std::vector<int> button_ids;
  int icons = 0;  // visible pictures beside the text
  HWND owner = nullptr;
};

inline message_box_view read_message_box(HWND box) {
  message_box_view view;
  view.title = window_text(box);
  // The text of a message box is the static control with the id 0xFFFF.
  if (HWND text = ::GetDlgItem(box, 0xFFFF)) view.text = window_text(text);
  for (HWND button : visible_children(box, L"Button")) {
    view.buttons.push_back(window_text(button));
    view.button_ids.push_back(::GetDlgCtrlID(button));
  }
  for (HWND picture : visible_children(box, L"Static")) {
    const LONG_PTR style = ::GetWindowLongPtrW(picture, GWL_STYLE);
    if ((style & SS_TYPEMASK) == SS_ICON && ::SendMessageW(picture, STM_GETICON, 0, 0) != 0) {
      ++view.icons;
    }
  }
  view.owner = ::GetWindow(box, GW_OWNER);
  return view;
}

// Presses a message box's OK button, as a click on it would.
inline void press_ok(HWND box) {
  HWND ok = ::GetDlgItem(box, IDOK);
  ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok));
}

// The running program's file name without its folder and extension.
inline std::wstring program_stem() {
  wchar_t name[MAX_PATH * 4] = {};
  const DWORD length = ::GetModuleFileNameW(nullptr, name, MAX_PATH * 4);
  std::wstring file(name, length);
  const auto slash = file.find_last_of(L"\\/");
  if (slash != std::wstring::npos) file.erase(0, slash + 1);
  const auto dot = file.rfind(L'.');
  if (dot != std::wstring::npos) file.erase(dot);
  return file;
}

}  // namespace testing_support
