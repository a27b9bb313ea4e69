#include "cDialogWatcher.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace {

struct Found {
  DWORD pid;
  std::vector<HWND> dialogs;
};

BOOL CALLBACK CollectDialog(HWND window, LPARAM param) {
  auto* found = reinterpret_cast<Found*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  if (pid == found->pid && IsWindowVisible(window) && std::wstring(name) == L"#32770")
    found->dialogs.push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
  return TRUE;
}

std::wstring TextOf(HWND window) {
  wchar_t text[4096] = {};
  GetWindowTextW(window, text, 4096);
  return text;
}

}  // namespace

cDialogWatcher::cDialogWatcher() : m_Thread([this] { Watch(); }) {}

cDialogWatcher::~cDialogWatcher() {
  m_Stop = true;
  m_Thread.join();
}

std::vector<cDialogWatcher::Seen> cDialogWatcher::TakeSeen() {
  std::lock_guard<std::mutex> hold(m_Lock);
  return std::exchange(m_Seen, {});
}

void cDialogWatcher::Watch() {
  while (!m_Stop) {
    Found found{GetCurrentProcessId(), {}};
    EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&found));
    for (HWND dialog : found.dialogs)
      if (std::find(m_Answered.begin(), m_Answered.end(), dialog) == m_Answered.end()) Answer(dialog);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

void cDialogWatcher::Answer(HWND dialog) {
  std::this_thread::sleep_for(std::chrono::milliseconds(100));  // let it finish drawing
  Seen seen{TextOf(dialog), L"", false};
  std::vector<HWND> children;
  EnumChildWindows(dialog, CollectChild, reinterpret_cast<LPARAM>(&children));
  for (HWND child : children) {
    wchar_t name[16] = {};
    GetClassNameW(child, name, 16);
    if (std::wstring(name) != L"Static") continue;
    if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      seen.hasIcon |= IsWindowVisible(child) && SendMessageW(child, STM_GETICON, 0, 0) != 0;
    } else if (seen.text.empty()) {
      seen.text = TextOf(child);
    }
  }
  {
    std::lock_guard<std::mutex> hold(m_Lock);
    m_Seen.push_back(seen);
  }
  m_Answered.push_back(dialog);
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}
