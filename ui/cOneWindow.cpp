#include "cOneWindow.h"

#include <cwctype>

namespace {

constexpr wchar_t kMutexPrefix[] = L"Local\\OmbrivoBeta.Window.";
constexpr wchar_t kMessageName[] = L"OmbrivoBeta.ComeForward";

// FNV-1a over the path as the file system compares it.
std::uint32_t Hash(const std::wstring& path) {
  std::uint32_t hash = 2166136261u;
  for (const wchar_t c : path) {
    hash ^= static_cast<std::uint32_t>(std::towupper(c));
    hash *= 16777619u;
  }
  return hash;
}

}  // namespace

// A mutex that cannot be made leaves every start a first one: a second window is better than none.
cOneWindow::cOneWindow(const std::wstring& job)
    : m_Job(Hash(job)),
      m_Mutex(CreateMutexW(nullptr, FALSE, (kMutexPrefix + std::to_wstring(m_Job)).c_str())),
      m_First(!m_Mutex || GetLastError() != ERROR_ALREADY_EXISTS) {}

cOneWindow::~cOneWindow() {
  if (m_Mutex) CloseHandle(m_Mutex);
}

UINT cOneWindow::ComeForwardMessage() {
  static const UINT message = RegisterWindowMessageW(kMessageName);
  return message;
}

// The system lets only the foreground's own process bring a window forward; this start is that
// process, and lends the right to the first window's.
void cOneWindow::CallFirst() const {
  AllowSetForegroundWindow(ASFW_ANY);
  DWORD_PTR result = 0;
  SendMessageTimeoutW(HWND_BROADCAST, ComeForwardMessage(), m_Job, 0, SMTO_ABORTIFHUNG, 2000, &result);
}

void cOneWindow::ComeForward(HWND window) {
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  SetForegroundWindow(window);
}
