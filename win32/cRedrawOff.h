#pragma once
// Stops a window from repainting while many changes are made to it, and repaints it once
// when the guard goes away (or whenever ShowNow is called in between).
#include <windows.h>

class cRedrawOff {
 public:
  explicit cRedrawOff(HWND window) : m_Window(window) { SendMessageW(m_Window, WM_SETREDRAW, FALSE, 0); }
  ~cRedrawOff() {
    SendMessageW(m_Window, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(m_Window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  }
  // Draws the changes made so far, scroll bars included, and goes on holding later ones.
  void ShowNow() {
    SendMessageW(m_Window, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(m_Window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    SendMessageW(m_Window, WM_SETREDRAW, FALSE, 0);
  }
  cRedrawOff(const cRedrawOff&) = delete;
  cRedrawOff& operator=(const cRedrawOff&) = delete;

 private:
  HWND m_Window;
};
