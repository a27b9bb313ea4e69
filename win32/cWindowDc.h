#pragma once
// The device context of a window (GetDC), released with ReleaseDC on every path.
#include <windows.h>

class cWindowDc {
 public:
  // Throws cPlatformError (operation `operation`) when GetDC fails. A null window gives the
  // screen's device context.
  cWindowDc(HWND window, const wchar_t* operation);
  ~cWindowDc();
  cWindowDc(const cWindowDc&) = delete;
  cWindowDc& operator=(const cWindowDc&) = delete;

  HDC Get() const noexcept { return m_hDc; }

 private:
  HWND m_hWnd;
  HDC m_hDc;
};
