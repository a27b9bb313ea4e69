#include "cWatchdog.h"

#include <atomic>
#include <stdexcept>

namespace {

std::atomic<bool> g_Fired{false};
std::atomic<bool> g_Armed{false};

void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
  g_Fired = true;
  CancelThreadDialogs(GetCurrentThreadId());
  SetTimer(nullptr, id, 1000, OnTimer);
}

BOOL CALLBACK CancelIfDialog(HWND window, LPARAM) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  if (IsWindowVisible(window) && lstrcmpW(name, L"#32770") == 0)
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  return TRUE;
}

}  // namespace

void CancelThreadDialogs(DWORD threadId) { EnumThreadWindows(threadId, CancelIfDialog, 0); }

cWatchdog::cWatchdog(UINT milliseconds) {
  if (g_Armed.exchange(true)) throw std::logic_error("one watchdog at a time");
  g_Fired = false;
  m_Timer = SetTimer(nullptr, 0, milliseconds, OnTimer);
  if (!m_Timer) throw std::runtime_error("SetTimer failed");
}

cWatchdog::~cWatchdog() {
  KillTimer(nullptr, m_Timer);
  g_Armed = false;
}

bool cWatchdog::Fired() const { return g_Fired; }
