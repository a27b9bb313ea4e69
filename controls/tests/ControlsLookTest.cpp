// What the user sees: both controls on one window, a long path scrolled to its end and a
// bar at 40 %, checked on the pixels the native controls painted. With OMB_LOOK_SHOW_MS set
// the window stays on screen that long, to be looked at or photographed.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "ProgressBar.h"
#include "ZListBox.h"
#include "mTestWindows.h"

namespace {

// The painted pixels of a window's client area, read back from its device context.
class cClientPixels {
 public:
  explicit cClientPixels(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    m_Width = client.right;
    m_Height = client.bottom;
    m_Pixels.resize(static_cast<std::size_t>(m_Width) * static_cast<std::size_t>(m_Height));
    HDC source = GetDC(window);
    HDC memory = CreateCompatibleDC(source);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = m_Width;
    info.bmiHeader.biHeight = -m_Height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, m_Width, m_Height, source, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* from = static_cast<const std::uint32_t*>(bits);
    m_Pixels.assign(from, from + m_Pixels.size());
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, source);
  }
  int Width() const { return m_Width; }
  int Height() const { return m_Height; }
  std::uint32_t At(int x, int y) const {
    return m_Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_Width) +
                    static_cast<std::size_t>(x)] & 0xFFFFFFu;
  }

 private:
  int m_Width = 0;
  int m_Height = 0;
  std::vector<std::uint32_t> m_Pixels;
};

std::wstring LongPath() {
  std::wstring path = L"F:\\U盘资料\\工作文档";
  for (int i = 1; i <= 9; ++i) path += L"\\子文件夹" + std::to_wstring(i);
  return path + L"\\年度总结报告（最终版）.docx";
}

TEST(ControlsLook, ALongPathScrolledToItsEndAndABarAt40Percent) {
  cWatchdog watchdog{"the controls look test", std::chrono::seconds(120)};
  cTestHost& host = cTestHost::Shared();
  SetWindowTextW(host.Handle(), L"ZListBox 与 ProgressBar");
  ZListBox list;
  list.Create(host.Handle(), 1, 24, 24, 369, 265, host.Font());
  ProgressBar bar;
  bar.Create(host.Handle(), 2, 24, 310, 297, 17);

  list.AddItem(L"F:\\照片\\毕业合影.jpg");
  list.AddItem(LongPath());
  list.AddItem(L"F:\\音乐\\小夜曲.mp3");
  list.List(0, L"√" + list.List(0));
  bar.Max(100);
  bar.Value(40);

  // Scroll the list to the end of its horizontal range, as the user would drag the thumb.
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(list.ListHwnd(), SB_HORZ, &info);
  const int end = info.nMax - static_cast<int>(info.nPage) + 1;
  ASSERT_GT(end, 0) << "the long path needs a horizontal scroll range";
  SendMessageW(list.ListHwnd(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, end), 0);
  SendMessageW(list.ListHwnd(), WM_HSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
  InvalidateRect(host.Handle(), nullptr, TRUE);
  UpdateWindow(host.Handle());
  mHostPump::DispatchFor(200);

  GetScrollInfo(list.ListHwnd(), SB_HORZ, &info);
  EXPECT_EQ(info.nPos, end);

  // The long path's end is in view: its last character ends at least 4 px before the list's
  // right edge, and close to it. (Wine draws some bitmap fonts a little narrower than their
  // measured advance widths, so the ink may stop short of the measured end.)
  const cClientPixels text(list.ListHwnd());
  RECT row{};
  SendMessageW(list.ListHwnd(), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
  const std::uint32_t ground = text.At(text.Width() - 1, (row.top + row.bottom) / 2);
  int lastInk = -1;
  for (int y = row.top; y < row.bottom; ++y)
    for (int x = 0; x < text.Width(); ++x)
      if (text.At(x, y) != ground && x > lastInk) lastInk = x;
  EXPECT_LE(lastInk, text.Width() - 4);
  EXPECT_GE(lastInk, text.Width() - 4 - 24);

  // The bar is filled from the left to about 40 % of its width.
  const cClientPixels fill(HostedControl(bar.hwnd()));
  const int middle = fill.Height() / 2;
  const std::uint32_t filled = fill.At(4, middle);
  const std::uint32_t empty = fill.At(fill.Width() - 4, middle);
  EXPECT_NE(filled, empty);
  int lastFilled = 0;
  for (int x = 0; x < fill.Width(); ++x)
    if (fill.At(x, middle) == filled) lastFilled = x;
  const double share = (lastFilled + 1.0) / fill.Width();
  EXPECT_GT(share, 0.33) << "filled up to x = " << lastFilled;
  EXPECT_LT(share, 0.45) << "filled up to x = " << lastFilled;

  if (const char* show = std::getenv("OMB_LOOK_SHOW_MS"))
    mHostPump::DispatchFor(static_cast<DWORD>(std::strtoul(show, nullptr, 10)));
}

}  // namespace
