#include "mWindowClass.h"

#include "cPlatformError.h"

namespace mWindowClass {

void Register(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, const Look& look) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hIcon = look.icon;
  wc.hIconSm = look.smallIcon;
  wc.hCursor = look.cursor;
  wc.hbrBackground = look.background;
  wc.lpszClassName = name;
  // A class stays registered until the module unloads: the second object of a class finds it.
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw cPlatformError::FromLastError(L"register window class", name, L"RegisterClassExW");
}

void* Attach(HWND window, UINT message, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    void* object = reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
    return object;
  }
  return reinterpret_cast<void*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void Detach(HWND window) { SetWindowLongPtrW(window, GWLP_USERDATA, 0); }

}  // namespace mWindowClass
