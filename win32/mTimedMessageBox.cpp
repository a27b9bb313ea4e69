#include "mTimedMessageBox.h"

#include <cassert>

namespace mTimedMessageBox {
namespace {

// The caption of the box being shown on this thread: a thread timer's procedure has no other
// way to it.
thread_local const std::wstring* g_Caption = nullptr;

BOOL CALLBACK CloseIfTheBox(HWND window, LPARAM) {
  wchar_t cls[16] = {};
  GetClassNameW(window, cls, 16);
  if (std::wstring(cls) != L"#32770" || !IsWindowVisible(window)) return TRUE;
  const int length = GetWindowTextLengthW(window);
  std::wstring caption(static_cast<std::size_t>(length) + 1, L'\0');
  caption.resize(static_cast<std::size_t>(GetWindowTextW(window, caption.data(), length + 1)));
  if (caption != *g_Caption) return TRUE;
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  return FALSE;
}

// Runs inside the box's own message loop, which dispatches the thread's timers; a box not up
// yet is looked for again at the next tick.
void CALLBACK Expired(HWND, UINT, UINT_PTR, DWORD) {
  if (g_Caption) EnumThreadWindows(GetCurrentThreadId(), CloseIfTheBox, 0);
}

}  // namespace

int Show(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags, std::chrono::milliseconds timeout) {
  assert((flags & MB_TYPEMASK) == MB_OK);
  g_Caption = &caption;
  const UINT_PTR timer = SetTimer(nullptr, 0, static_cast<UINT>(timeout.count()), &Expired);
  const int answer = MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
  if (timer) KillTimer(nullptr, timer);
  g_Caption = nullptr;
  return answer;
}

}  // namespace mTimedMessageBox
