#pragma once
// Watches for sticks that arrive while the window is idle. The system's WM_DEVICECHANGE is
// answered at once (the system waits for it) and the question follows as a posted message:
// for the first arrived volume that holds listed entries, "检测到 U 盘「<label>」。现在备份其中的
// N 项吗？". One question at a time: an arrival while one is asked is not asked about.
#include <windows.h>

#include "cJobList.h"

class cArrivalWatch {
 public:
  static constexpr UINT kArrived = WM_APP + 22;  // wParam: the arrived drives, a bit per letter

  // WM_DEVICECHANGE: posts kArrived to `window` for volumes that arrived.
  static void OnDeviceChange(HWND window, WPARAM wParam, LPARAM lParam);
  // kArrived: asks about the first of the drives that holds entries of the job; answers
  // whether to run it.
  bool Ask(HWND owner, DWORD drives, cJobList& job);

 private:
  bool m_Asking = false;
};
