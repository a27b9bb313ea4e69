#pragma once
// A progress bar: one native "msctls_progress32" bar covering the control's own window. The
// control's fields are the authority; every getter returns its field. The styles the native
// bar takes only at creation (Orientation, Smooth, Marquee) are applied by replacing the bar,
// after which range, position and marquee animation are applied again from the fields.
//
// Needs the common controls' progress class registered (InitCommonControls) and, for the
// marquee, version 6 of the common controls (the application manifest).
#include <windows.h>

#include <cstdint>

#include "cControlWindow.h"

class ProgressBar : private cControlWindow {
 public:
  ProgressBar() = default;
  ~ProgressBar() override;

  // Creates the control's window at the pixel rectangle and its native bar (see Value for
  // what a failed creation of the bar means). Throws cPlatformError for the control's window.
  void Create(HWND parent, int id, int x, int y, int width, int height);
  // The control's own window, the parent of the native bar; the same across re-creation.
  HWND hwnd() const noexcept { return ControlHandle(); }

  // Without a native bar the Value, Max and Min setters do nothing at all: the stored value
  // stays. No setter checks, clamps or orders its argument.
  std::int32_t Value() const noexcept { return m_Value; }
  void Value(std::int32_t vData);
  std::int32_t Max() const noexcept { return m_Max; }
  void Max(std::int32_t vData);
  std::int32_t Min() const noexcept { return m_Min; }
  void Min(std::int32_t vData);
  // 1 is a vertical bar, every other value a horizontal one. Setting it replaces the bar.
  std::int32_t Orientation() const noexcept { return m_Orientation; }
  void Orientation(std::int32_t vData);
  // A solid bar instead of the segmented one. Setting it replaces the bar.
  bool Smooth() const noexcept { return m_Smooth; }
  void Smooth(bool vData);
  // A running marquee animation instead of a position. Setting it replaces the bar.
  bool Marquee() const noexcept { return m_Marquee; }
  void Marquee(bool vData);
  // Milliseconds between marquee steps, 0 for the common controls' default; sent to the bar
  // only while Marquee is on, otherwise kept for the next time it is switched on.
  std::int32_t Velocity() const noexcept { return m_Velocity; }
  void Velocity(std::int32_t vData);

 private:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void UserControl_Initialize();
  void UserControl_Resize();
  void UserControl_Terminate();
  void CreateBar();
  void SendMarquee() const;

  HWND m_hProgress = nullptr;  // owned: the native bar, a child of the control's window
  std::int32_t m_Value = 0;
  std::int32_t m_Max = 100;
  std::int32_t m_Min = 0;
  std::int32_t m_Orientation = 0;
  bool m_Smooth = false;
  bool m_Marquee = false;
  std::int32_t m_Velocity = 0;
};
