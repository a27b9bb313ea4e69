#include "cControlWindow.h"

#include <stdexcept>
#include <string>
#include <utility>

#include "cPlatformError.h"

namespace {

thread_local std::exception_ptr t_PendingError;

void RegisterOnce(const wchar_t* className, HBRUSH background, WNDPROC procedure) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = className;
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw cPlatformError::FromLastError(L"register window class", className,
                                        L"RegisterClassExW");
}

}  // namespace

void cControlWindow::RethrowPendingError() {
  if (!t_PendingError) return;
  std::exception_ptr error = std::exchange(t_PendingError, nullptr);
  std::rethrow_exception(error);
}

cControlWindow::~cControlWindow() { DestroyControlWindow(); }

void cControlWindow::CreateControlWindow(const wchar_t* className, HBRUSH background,
                                         HWND parent, int id, int x, int y, int width,
                                         int height, DWORD style, DWORD exStyle) {
  if (m_hControl) throw std::logic_error("the control's window exists already");
  RegisterOnce(className, background, WindowProc);
  const HWND window = CreateWindowExW(
      exStyle, className, nullptr, style, x, y, width, height, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), this);
  if (!window)
    throw cPlatformError::FromLastError(L"create control", className, L"CreateWindowExW");
}

void cControlWindow::DestroyControlWindow() noexcept {
  if (m_hControl) DestroyWindow(m_hControl);  // WM_NCDESTROY clears m_hControl
}

LRESULT cControlWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return Default(message, wParam, lParam);
}

LRESULT cControlWindow::Default(UINT message, WPARAM wParam, LPARAM lParam) const {
  return DefWindowProcW(m_hControl, message, wParam, lParam);
}

LRESULT CALLBACK cControlWindow::WindowProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
  auto* self = reinterpret_cast<cControlWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    self = static_cast<cControlWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->m_hControl = window;
  }
  if (!self) return DefWindowProcW(window, message, wParam, lParam);

  LRESULT result = 0;
  try {
    result = self->OnMessage(message, wParam, lParam);
  } catch (...) {
    if (!t_PendingError) t_PendingError = std::current_exception();
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->m_hControl = nullptr;
  }
  return result;
}
