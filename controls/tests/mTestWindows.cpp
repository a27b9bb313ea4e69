#include "mTestWindows.h"

#include <stdexcept>

#include "mTestWindowTools.h"

namespace {

constexpr wchar_t kHostClass[] = L"OmbrivoControlsTestHost";

}  // namespace

cTestHost::cTestHost(int clientWidth, int clientHeight) {
  mTestWindowTools::RegisterHostClass(kHostClass, COLOR_WINDOW);
  RECT frame{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
  m_hWnd = CreateWindowExW(0, kHostClass, L"控件测试", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                           20, 20, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!m_hWnd) throw std::runtime_error("cannot create the test host window");
  m_hFont = CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        DEFAULT_PITCH | FF_DONTCARE, L"宋体");
  ShowWindow(m_hWnd, SW_SHOW);
  UpdateWindow(m_hWnd);
  SetForegroundWindow(m_hWnd);
  mHostPump::DispatchFor();
}

cTestHost& cTestHost::Shared() {
  static cTestHost host;
  return host;
}

cTestHost::~cTestHost() {
  Destroy();
  if (m_hFont) DeleteObject(m_hFont);
}

void cTestHost::Destroy() {
  if (m_hWnd) DestroyWindow(m_hWnd);
  m_hWnd = nullptr;
}

int TextExtent(HWND window, HFONT font, const std::wstring& text) {
  HDC dc = GetDC(window);
  HGDIOBJ previous = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, previous);
  ReleaseDC(window, dc);
  return size.cx;
}

HWND HostedControl(HWND control) { return control ? GetWindow(control, GW_CHILD) : nullptr; }
