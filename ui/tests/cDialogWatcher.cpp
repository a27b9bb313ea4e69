#include "cDialogWatcher.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "mTestWindowTools.h"

namespace {

// A message box or common dialog on screen.
bool IsDialog(HWND window) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  return IsWindowVisible(window) && std::wstring(name) == L"#32770";
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
    for (HWND dialog : mTestWindowTools::TopLevel(GetCurrentProcessId()))
      if (IsDialog(dialog) && std::find(m_Answered.begin(), m_Answered.end(), dialog) == m_Answered.end()) Answer(dialog);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

void cDialogWatcher::Answer(HWND dialog) {
  std::this_thread::sleep_for(std::chrono::milliseconds(100));  // let it finish drawing
  Seen seen{TextOf(dialog), L"", false};
  for (HWND child : mTestWindowTools::Children(dialog)) {
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
