// The native wait window, checked through the Win32 API: its place and sizes in
// pixels at the screen's resolution, its one label and font, its single paint.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/windows/win32_windows.h"

namespace {

// twips (1/1440 inch) at a resolution, to the nearest pixel.
int pixels(int twips, int dpi) {
  return (twips * dpi + 720) / 1440;
}

struct screen_resolution {
  int x = 0;
  int y = 0;
};

screen_resolution resolution() {
  HDC screen = ::GetDC(nullptr);
  screen_resolution dpi{::GetDeviceCaps(screen, LOGPIXELSX), ::GetDeviceCaps(screen, LOGPIXELSY)};
  ::ReleaseDC(nullptr, screen);
  return dpi;
}

// The label's place within the window's client area.
RECT client_place(HWND child, HWND parent) {
  RECT place{};
  ::GetWindowRect(child, &place);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
  return place;
}

// What the screen shows of a window, frame and all, as a 24-bit bitmap file.
void save_screenshot(HWND window, const std::string& file) {
  RECT frame{};
  ::GetWindowRect(window, &frame);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, width, height, screen, frame.left, frame.top, SRCCOPY);
  ::SelectObject(memory, old);

  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const int row = ((width * 3) + 3) & ~3;
  std::vector<char> pixels_data(static_cast<std::size_t>(row) * static_cast<std::size_t>(height));
  ::GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels_data.data(),
              reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);

  BITMAPFILEHEADER header{};
  header.bfType = 0x4D42;  // "BM"
  header.bfOffBits = sizeof header + sizeof info;
  header.bfSize = header.bfOffBits + static_cast<DWORD>(pixels_data.size());
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  out.write(pixels_data.data(), static_cast<std::streamsize>(pixels_data.size()));
}

// Pixels inside a rectangle of the window's client area that differ from the
// window's background colour.
int drawn_pixels(HWND window, const RECT& area) {
  HDC dc = ::GetDC(window);
  const COLORREF background = ::GetSysColor(COLOR_BTNFACE);
  int drawn = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      const COLORREF colour = ::GetPixel(dc, x, y);
      if (colour != CLR_INVALID && colour != background) ++drawn;
    }
  }
  ::ReleaseDC(window, dc);
  return drawn;
}

TEST(WaitWindow, ShowsTheLabelAtItsPlaceAndFontThenGoesWhenDestroyed) {
  auto native = platform::make_native_platform();
  platform::window_design design;
  design.caption = "Brisena_Tarvo 47306";
  native->show_window(design);

  HWND window = ::FindWindowW(nullptr, L"Brisena_Tarvo 47306");
  ASSERT_NE(window, nullptr) << "no window with the caption";
  EXPECT_TRUE(::IsWindowVisible(window));
  // Top-level, modeless, without an owner; no menu, no system menu, no buttons.
  EXPECT_EQ(::GetParent(window), nullptr);
  EXPECT_EQ(::GetWindow(window, GW_OWNER), nullptr);
  EXPECT_EQ(::GetMenu(window), nullptr);
  const LONG_PTR style = ::GetWindowLongPtrW(window, GWL_STYLE);
  EXPECT_EQ(style & WS_SYSMENU, 0);
  EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
  EXPECT_EQ(style & WS_CHILD, 0);

  const screen_resolution dpi = resolution();
  RECT client{};
  ::GetClientRect(window, &client);
  EXPECT_EQ(client.right - client.left, pixels(4200, dpi.x));
  EXPECT_EQ(client.bottom - client.top, pixels(2688, dpi.y));

  // One child: the label.
  const auto statics = testing_support::visible_children(window, L"Static");
  ASSERT_EQ(statics.size(), 1u);
  HWND label = statics.front();
  EXPECT_EQ(::GetWindow(label, GW_CHILD), nullptr);
  EXPECT_EQ(::GetWindow(label, GW_HWNDNEXT), nullptr) << "more than one child";
  EXPECT_EQ(testing_support::window_text(label), L"Attendere");
  const RECT place = client_place(label, window);
  EXPECT_EQ(place.left, pixels(960, dpi.x));
  EXPECT_EQ(place.top, pixels(960, dpi.y));
  EXPECT_EQ(place.right - place.left, pixels(2652, dpi.x));
  EXPECT_EQ(place.bottom - place.top, pixels(792, dpi.y));

  const auto font = reinterpret_cast<HFONT>(::SendMessageW(label, WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  LOGFONTW face{};
  ASSERT_EQ(::GetObjectW(font, sizeof face, &face), static_cast<int>(sizeof face));
  EXPECT_EQ(std::wstring(face.lfFaceName), L"MS Sans Serif");
  // 24 points: a character height (negative: without internal leading) at the resolution.
  EXPECT_EQ(face.lfHeight, -((24 * dpi.y + 36) / 72));
  EXPECT_EQ(face.lfWeight, 700);
  EXPECT_EQ(face.lfCharSet, 0);
  EXPECT_FALSE(face.lfItalic);
  EXPECT_FALSE(face.lfUnderline);

  // Painted at once, with no message served: the text is drawn inside the
  // label, and nothing outside it.
  EXPECT_GT(drawn_pixels(window, place), 0) << "the label was not painted";
  const RECT above_label{0, 0, client.right, place.top};
  EXPECT_EQ(drawn_pixels(window, above_label), 0);

  if (const char* file = std::getenv("SCENARIO_SCREENSHOT")) save_screenshot(window, file);

  native->destroy_window();
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_EQ(::FindWindowW(nullptr, L"Brisena_Tarvo 47306"), nullptr);
  native->destroy_window();  // a second call finds nothing to do
}

}  // namespace
