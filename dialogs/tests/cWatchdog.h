#pragma once
// Cancels every dialog of the calling thread once a time limit has passed, and again every
// second after, so that a test whose driver got stuck fails instead of hanging. Runs as a
// thread timer, which the dialogs' own modal loops dispatch.
#include <windows.h>

class cWatchdog {
 public:
  explicit cWatchdog(UINT milliseconds = 60000);
  ~cWatchdog();
  cWatchdog(const cWatchdog&) = delete;
  cWatchdog& operator=(const cWatchdog&) = delete;

  bool Fired() const;

 private:
  UINT_PTR m_Timer;
};

// Posts IDCANCEL to every visible dialog box (#32770) of the given thread.
void CancelThreadDialogs(DWORD threadId);
