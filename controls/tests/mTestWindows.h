#pragma once
// What the control tests share: a visible top-level host window with the backup window's
// default font, message pumping, and the watchdog that ends a hanging test.
#include <windows.h>

#include <string>

#include "cWatchdog.h"
#include "mHostPump.h"

// A visible top-level window to place controls on; it owns the font it offers.
class cTestHost {
 public:
  cTestHost(int clientWidth = 480, int clientHeight = 400);
  ~cTestHost();
  cTestHost(const cTestHost&) = delete;
  cTestHost& operator=(const cTestHost&) = delete;

  // One host for a whole test program: under Wine without a window manager, hiding or
  // destroying a top-level window waits two seconds for the X server.
  static cTestHost& Shared();

  HWND Handle() const { return m_hWnd; }
  // "宋体" 9 pt (12 px at 96 dpi), the default font of the backup window.
  HFONT Font() const { return m_hFont; }
  // Destroys the window early, as a closing parent destroys its children.
  void Destroy();

 private:
  HWND m_hWnd = nullptr;
  HFONT m_hFont = nullptr;
};



// The native control a control window hosts (its only child), or null while it hosts none.
HWND HostedControl(HWND control);

// The pixel width of a text in a font as GetTextExtentPoint32W measures it (no prefix
// processing), to check the control's own measurements against.
int TextExtent(HWND window, HFONT font, const std::wstring& text);
