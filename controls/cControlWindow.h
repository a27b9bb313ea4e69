#pragma once
// The window of a control of this program: a child window of a class registered for the
// control, whose messages go to the control object's OnMessage (through mWindowClass, so the
// control object must not move while its window exists). The window is destroyed with the
// object unless its parent destroyed it first.
#include <windows.h>

#include <exception>

class cControlWindow {
 public:
  cControlWindow(const cControlWindow&) = delete;
  cControlWindow& operator=(const cControlWindow&) = delete;

  // An exception thrown by a message handler (an owner's event handler, say) cannot cross the
  // system's window procedure; the first one is kept for the thread and thrown again here.
  // The message loop calls this after DispatchMessageW, and so does code that sends a
  // message which may run an event handler.
  static void RethrowPendingError();

 protected:
  cControlWindow() = default;
  virtual ~cControlWindow();

  HWND ControlHandle() const noexcept { return m_hControl; }
  // Registers the class on first use and creates the window. Throws cPlatformError.
  void CreateControlWindow(const wchar_t* className, HBRUSH background, HWND parent, int id,
                           int x, int y, int width, int height, DWORD style, DWORD exStyle);
  // Derived destructors call this first, so that WM_DESTROY still reaches their handler.
  void DestroyControlWindow() noexcept;

  virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) const;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND m_hControl = nullptr;  // owned; cleared at WM_NCDESTROY
};
