#pragma once
// Answers the message boxes this process shows, from a thread of its own, and records what
// they said: a window handler that shows one can then be called synchronously in a test.
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class cDialogWatcher {
 public:
  struct Seen {
    std::wstring caption;
    std::wstring text;
    bool hasIcon;
  };

  cDialogWatcher();
  ~cDialogWatcher();
  cDialogWatcher(const cDialogWatcher&) = delete;
  cDialogWatcher& operator=(const cDialogWatcher&) = delete;

  std::vector<Seen> TakeSeen();

 private:
  void Watch();
  void Answer(HWND dialog);

  std::atomic<bool> m_Stop{false};
  std::mutex m_Lock;
  std::vector<Seen> m_Seen;
  std::vector<HWND> m_Answered;
  std::thread m_Thread;
};
