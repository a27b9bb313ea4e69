#include "cMessageBoxClock.h"

#include <stdexcept>
#include <string>

#include "cPlatformError.h"

cMessageBoxClock* cMessageBoxClock::s_Active = nullptr;

cMessageBoxClock::cMessageBoxClock() {
  if (s_Active) throw std::logic_error("one message box clock at a time");
  m_Hook = SetWindowsHookExW(WH_CBT, OnCbt, nullptr, GetCurrentThreadId());
  if (!m_Hook) throw cPlatformError::FromLastError(L"time the message box", L"WH_CBT", L"SetWindowsHookExW");
  s_Active = this;
}

cMessageBoxClock::~cMessageBoxClock() {
  UnhookWindowsHookEx(m_Hook);
  s_Active = nullptr;
}

LRESULT CALLBACK cMessageBoxClock::OnCbt(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && s_Active && !s_Active->m_Shown) {
    const auto now = mBenchTiming::Clock::now();
    wchar_t name[16] = {};
    GetClassNameW(reinterpret_cast<HWND>(wParam), name, 16);
    if (std::wstring(name) == L"#32770") s_Active->m_Shown = now;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
