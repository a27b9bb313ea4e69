#include "cWatchdog.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

// How long the stretch may take to end once its dialogs are being cancelled.
constexpr int kGraceSeconds = 10;

BOOL CALLBACK CancelIfDialog(HWND window, LPARAM) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  if (IsWindowVisible(window) && lstrcmpW(name, L"#32770") == 0)
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  return TRUE;
}

}  // namespace

void CancelThreadDialogs(DWORD threadId) { EnumThreadWindows(threadId, CancelIfDialog, 0); }

cWatchdog::cWatchdog(std::string what, std::chrono::seconds deadline)
    : m_What(std::move(what)),
      m_OwnerThread(GetCurrentThreadId()),
      m_Thread([this, deadline] { Watch(deadline); }) {}

cWatchdog::~cWatchdog() {
  {
    std::lock_guard<std::mutex> hold(m_Lock);
    m_Finished = true;
  }
  m_Done.notify_one();
  m_Thread.join();
}

bool cWatchdog::Fired() const {
  std::lock_guard<std::mutex> hold(m_Lock);
  return m_Fired;
}

bool cWatchdog::WaitFinished(std::chrono::seconds time) {
  std::unique_lock<std::mutex> hold(m_Lock);
  return m_Done.wait_for(hold, time, [this] { return m_Finished; });
}

void cWatchdog::Watch(std::chrono::seconds deadline) {
  if (WaitFinished(deadline)) return;
  std::fprintf(stderr, "watchdog: %s still running after %lld s; cancelling its dialogs\n",
               m_What.c_str(), static_cast<long long>(deadline.count()));
  std::fflush(stderr);
  {
    std::lock_guard<std::mutex> hold(m_Lock);
    m_Fired = true;
  }
  for (int second = 0; second < kGraceSeconds; ++second) {
    CancelThreadDialogs(m_OwnerThread);
    if (WaitFinished(std::chrono::seconds(1))) return;
  }
  std::fprintf(stderr, "watchdog: %s did not end; stopped\n", m_What.c_str());
  std::fflush(stderr);
  std::_Exit(3);
}
