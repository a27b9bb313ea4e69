#pragma once
// Window classes whose windows belong to C++ objects. The object travels as CreateWindowExW's
// last argument (CREATESTRUCTW::lpCreateParams); Route stores it in GWLP_USERDATA at
// WM_NCCREATE, hands it every message from then on and forgets it after WM_NCDESTROY. The
// object must therefore not move while its window exists. Messages that come before
// WM_NCCREATE (WM_GETMINMAXINFO for a top-level window) go to DefWindowProcW.
#include <windows.h>

namespace mWindowClass {

struct Look {
  HICON icon = nullptr;
  HICON smallIcon = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
};

// Registers the class for `instance` unless it is registered already. Throws cPlatformError.
void Register(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, const Look& look);

// The object a message of `window` is for, or null before WM_NCCREATE.
void* Attach(HWND window, UINT message, LPARAM lParam);
// After WM_NCDESTROY's handler: no further message reaches the object.
void Detach(HWND window);

// The body of a class's window procedure: finds the object, keeps its window handle in
// `handle` from WM_NCCREATE until WM_NCDESTROY has been handled, and calls
// handler(object, message, wParam, lParam). The handler must not throw: no exception may pass
// through the system's code that called the procedure.
template <class Object, class Handler>
LRESULT Route(HWND window, UINT message, WPARAM wParam, LPARAM lParam, HWND Object::*handle,
              Handler&& handler) {
  auto* object = static_cast<Object*>(Attach(window, message, lParam));
  if (!object) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCCREATE) object->*handle = window;
  const LRESULT result = handler(*object, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    Detach(window);
    object->*handle = nullptr;
  }
  return result;
}

}  // namespace mWindowClass
