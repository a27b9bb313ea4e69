#pragma once
// A visible top-level window that is the calling thread's active window: the application
// window a dialog is owned by.
#include <windows.h>

#include "mHostPump.h"

class cTestWindow {
 public:
  explicit cTestWindow(const wchar_t* caption = L"工程1");
  ~cTestWindow();
  cTestWindow(const cTestWindow&) = delete;
  cTestWindow& operator=(const cTestWindow&) = delete;

  HWND Handle() const { return m_Window; }

 private:
  HWND m_Window;
};

// Dispatches whatever is queued for the calling thread, for about `milliseconds`.
