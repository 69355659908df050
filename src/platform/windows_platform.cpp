// The native Windows platform, on the Win32 API alone: the wait window with its
// one label, the message box, and the program's folder in wide characters.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/platform.h"
#include "platform/window_layout.h"

namespace platform {
namespace {

constexpr wchar_t window_class_name[] = L"Form1";
constexpr int label_id = 1;

std::wstring widen(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int size = static_cast<int>(utf8.size());
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  if (length <= 0) return std::wstring(utf8.begin(), utf8.end());
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
  return wide;
}

std::string narrow(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int length =
      ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string utf8(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
  return utf8;
}

// The system's description of an error code, in UTF-8, without the line end.
std::string system_reason(DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length > 0 ? std::wstring(buffer, length) : std::wstring();
  if (buffer != nullptr) ::LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
    text.pop_back();
  }
  return text.empty() ? "system error " + std::to_string(error) : narrow(text);
}

[[noreturn]] void fail(const std::string& what, DWORD error) {
  throw std::runtime_error("cannot " + what + ": " + system_reason(error));
}

// The full name of the running program file, however long.
std::wstring module_file_name() {
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD size = static_cast<DWORD>(name.size());
    const DWORD length = ::GetModuleFileNameW(nullptr, name.data(), size);
    if (length == 0) fail("find the program's folder", ::GetLastError());
    if (length < size) {
      name.resize(length);
      return name;
    }
    name.resize(name.size() * 2);  // truncated: ask again with more room
  }
}

LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  // The run cannot be cancelled half-way: the window only goes when the run ends.
  if (message == WM_CLOSE) return 0;
  return ::DefWindowProcW(window, message, wparam, lparam);
}

HINSTANCE this_module() {
  return ::GetModuleHandleW(nullptr);
}

void register_window_class() {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (::GetClassInfoExW(this_module(), window_class_name, &existing) != 0) return;
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = window_procedure;
  window_class.hInstance = this_module();
  window_class.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32514));  // IDC_WAIT
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = window_class_name;
  if (::RegisterClassExW(&window_class) == 0) fail("register the wait window", ::GetLastError());
}

class windows_platform final : public platform {
 public:
  windows_platform() {
    // Lay the window out in real pixels at the screen's resolution, rather
    // than let the system stretch a 96-dpi bitmap of it.
    ::SetProcessDPIAware();
  }
  ~windows_platform() override { destroy_window(); }

  std::filesystem::path program_folder() override {
    // "C:\Sim\x.exe" gives "C:\Sim"; "C:\x.exe" gives "C:\", kept as it is.
    return std::filesystem::path(module_file_name()).parent_path();
  }

  char separator() const override { return '\\'; }

  void show_window(const window_design& design) override {
    destroy_window();
    register_window_class();

    HDC screen = ::GetDC(nullptr);
    const int dpi_x = ::GetDeviceCaps(screen, LOGPIXELSX);
    const int dpi_y = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    const window_layout layout = layout_in_pixels(design, dpi_x, dpi_y);

    // A title bar without a system menu: no buttons, no menu, nothing to press.
    const DWORD style = WS_OVERLAPPED | WS_CAPTION;
    RECT frame{0, 0, layout.client_width, layout.client_height};
    ::AdjustWindowRectEx(&frame, style, FALSE, 0);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int left = work.left + ((work.right - work.left) - width) / 2;
    const int top = work.top + ((work.bottom - work.top) - height) / 2;

    window_ = ::CreateWindowExW(0, window_class_name, widen(design.caption).c_str(), style, left,
                                top, width, height, nullptr, nullptr, this_module(), nullptr);
    if (window_ == nullptr) fail("create the wait window", ::GetLastError());

    font_ = ::CreateFontW(-layout.font_height, 0, 0, 0, design.label_font_weight, FALSE, FALSE,
                          FALSE, static_cast<BYTE>(design.label_font_charset), OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                          widen(design.label_font).c_str());
    HWND label = ::CreateWindowExW(
        0, L"STATIC", widen(design.label_caption).c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT,
        layout.label.left, layout.label.top, layout.label.width, layout.label.height, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(label_id)), this_module(), nullptr);
    if (label == nullptr) {
      const DWORD error = ::GetLastError();
      destroy_window();
      fail("create the wait window's label", error);
    }
    if (font_ != nullptr) ::SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);

    ::ShowWindow(window_, SW_SHOW);
    // The one repaint: no message loop runs while the steps work.
    ::RedrawWindow(window_, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
  }

  void destroy_window() override {
    if (window_ != nullptr) {
      ::DestroyWindow(window_);  // the label goes with it
      window_ = nullptr;
    }
    if (font_ != nullptr) {
      ::DeleteObject(font_);
      font_ = nullptr;
    }
  }

  void message_box(const std::string& text) override { show_box(text); }

  // A GUI program has no console: the failure goes in a box of the same kind.
  void report_failure(const std::string& text) override { show_box(text); }

 private:
  // Modal, the text only, one OK button, no icon; the title is the program's
  // own name, as the application's default title.
  void show_box(const std::string& text) {
    std::wstring title;
    try {
      title = std::filesystem::path(module_file_name()).stem().wstring();
    } catch (const std::exception&) {
      // No name to show: the system's default title.
    }
    ::MessageBoxW(window_, widen(text).c_str(), title.empty() ? nullptr : title.c_str(), MB_OK);
  }

  HWND window_ = nullptr;
  HFONT font_ = nullptr;
};

}  // namespace

std::filesystem::path running_program_file() {
  return std::filesystem::path(module_file_name());
}

std::filesystem::path running_program_image() {
  // A running program's file cannot be replaced or deleted on Windows.
  return running_program_file();
}

std::unique_ptr<platform> make_native_platform() {
  return std::make_unique<windows_platform>();
}

}  // namespace platform
