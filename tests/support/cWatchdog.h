#pragma once
// Guards a stretch of a test or a benchmark that waits on windows, so that one which stopped
// answering fails instead of hanging. Past its deadline it cancels the dialog boxes of the
// thread that made it, once a second (a driver stuck on a dialog then sees it close); if the
// stretch has still not ended after a few seconds more, it ends the process with a message.
#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

class cWatchdog {
 public:
  cWatchdog(std::string what, std::chrono::seconds deadline);
  ~cWatchdog();
  cWatchdog(const cWatchdog&) = delete;
  cWatchdog& operator=(const cWatchdog&) = delete;

  // The deadline passed and the watchdog had to cancel dialogs.
  bool Fired() const;

 private:
  void Watch(std::chrono::seconds deadline);
  bool WaitFinished(std::chrono::seconds time);

  std::string m_What;
  DWORD m_OwnerThread;
  mutable std::mutex m_Lock;
  std::condition_variable m_Done;
  bool m_Finished = false;
  bool m_Fired = false;
  std::thread m_Thread;
};

// Posts IDCANCEL to every visible dialog box (#32770) of the given thread.
void CancelThreadDialogs(DWORD threadId);
