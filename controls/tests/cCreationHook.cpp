#include "cCreationHook.h"

#include <stdexcept>
#include <utility>

namespace {

cCreationHook* g_Hook = nullptr;

}  // namespace

cCreationHook::cCreationHook(std::wstring className, std::function<bool(HWND)> onCreate)
    : m_ClassName(std::move(className)),
      m_OnCreate(std::move(onCreate)),
      m_Hook(SetWindowsHookExW(WH_CBT, &Procedure, nullptr, GetCurrentThreadId())) {
  if (!m_Hook) throw std::runtime_error("SetWindowsHookExW failed");
  g_Hook = this;
}

cCreationHook::~cCreationHook() {
  UnhookWindowsHookEx(m_Hook);
  if (g_Hook == this) g_Hook = nullptr;
}

LRESULT CALLBACK cCreationHook::Procedure(int code, WPARAM wParam, LPARAM lParam) {
  cCreationHook* self = g_Hook;
  if (self && code == HCBT_CREATEWND) {
    const HWND window = reinterpret_cast<HWND>(wParam);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (lstrcmpiW(name, self->m_ClassName.c_str()) == 0) {
      const bool refuse = self->m_Blocked || (self->m_OnCreate && self->m_OnCreate(window));
      if (refuse) {
        ++self->m_Refused;
        return 1;
      }
      ++self->m_Created;
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
