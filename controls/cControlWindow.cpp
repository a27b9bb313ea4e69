#include "cControlWindow.h"

#include <stdexcept>
#include <string>
#include <utility>

#include "cPlatformError.h"
#include "mWindowClass.h"

namespace {

thread_local std::exception_ptr t_PendingError;

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
  mWindowClass::Look look;
  look.cursor = LoadCursorW(nullptr, IDC_ARROW);
  look.background = background;
  mWindowClass::Register(GetModuleHandleW(nullptr), className, WindowProc, look);
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
  return mWindowClass::Route(window, message, wParam, lParam, &cControlWindow::m_hControl,
                             [](cControlWindow& self, UINT m, WPARAM w, LPARAM l) -> LRESULT {
                               try {
                                 return self.OnMessage(m, w, l);
                               } catch (...) {
                                 if (!t_PendingError) t_PendingError = std::current_exception();
                                 return 0;
                               }
                             });
}
