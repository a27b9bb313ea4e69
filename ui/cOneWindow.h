#pragma once
// One backup window per remembered job, so per user: the first start holds a named mutex for as
// long as it runs, and a second start, instead of opening another window on the same job, asks
// the first to come forward. Unattended runs are no windows in this sense: they take turns at
// their destination instead.
#include <windows.h>

#include <cstdint>
#include <string>

class cOneWindow {
 public:
  // `job`: the job file the window keeps.
  explicit cOneWindow(const std::wstring& job);
  ~cOneWindow();
  cOneWindow(const cOneWindow&) = delete;
  cOneWindow& operator=(const cOneWindow&) = delete;

  bool IsFirst() const noexcept { return m_First; }
  // From a second start: the first window comes forward (restored if minimized).
  void CallFirst() const;
  // What the first window is sent; it answers with ComeForward when `wParam` names its job.
  static UINT ComeForwardMessage();
  bool Names(WPARAM wParam) const noexcept { return static_cast<std::uint32_t>(wParam) == m_Job; }
  static void ComeForward(HWND window);

 private:
  std::uint32_t m_Job;  // the job file's path, hashed
  HANDLE m_Mutex;
  bool m_First;
};
