#pragma once
// Notes the moment this thread creates its next dialog box, as MessageBoxW does. A run that
// ends with a message box is then timed up to the message, not up to whoever answers it.
#include <windows.h>

#include <optional>

#include "mBenchTiming.h"

class cMessageBoxClock {
 public:
  // Hooks window creation on this thread; one clock at a time. Throws cPlatformError.
  cMessageBoxClock();
  ~cMessageBoxClock();
  cMessageBoxClock(const cMessageBoxClock&) = delete;
  cMessageBoxClock& operator=(const cMessageBoxClock&) = delete;

  // When the first dialog box since the clock was made was created, if one was.
  std::optional<mBenchTiming::Clock::time_point> Shown() const noexcept { return m_Shown; }

 private:
  static LRESULT CALLBACK OnCbt(int code, WPARAM wParam, LPARAM lParam);

  static cMessageBoxClock* s_Active;
  HHOOK m_Hook = nullptr;  // owned
  std::optional<mBenchTiming::Clock::time_point> m_Shown;
};
