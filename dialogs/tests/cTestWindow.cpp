#include "cTestWindow.h"

#include <stdexcept>

namespace {

constexpr wchar_t kClassName[] = L"OmbDialogsTestWindow";

void RegisterClassOnce() {
  static const ATOM atom = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    return RegisterClassW(&wc);
  }();
  if (!atom) throw std::runtime_error("RegisterClassW failed");
}

}  // namespace

cTestWindow::cTestWindow(const wchar_t* caption) {
  RegisterClassOnce();
  m_Window = CreateWindowExW(0, kClassName, caption, WS_OVERLAPPEDWINDOW, 20, 20, 320, 200, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!m_Window) throw std::runtime_error("CreateWindowExW failed");
  ShowWindow(m_Window, SW_SHOW);
  SetForegroundWindow(m_Window);
  SetActiveWindow(m_Window);
  for (int i = 0; i < 100 && GetActiveWindow() != m_Window; ++i) mHostPump::DispatchFor(20);
  mHostPump::DispatchFor(50);
}

cTestWindow::~cTestWindow() {
  DestroyWindow(m_Window);
  mHostPump::DispatchFor(50);
}
