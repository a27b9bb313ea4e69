#include "cArrivalQuestion.h"

#include "cMessageBox.h"

namespace {

// The question being asked on this thread: a thread timer's procedure has no other way to it.
struct Asking {
  std::wstring label;
  std::size_t entries = 0;
  int left = cArrivalQuestion::kSeconds;
  DWORD thread = 0;
};
thread_local Asking* g_Asking = nullptr;

BOOL CALLBACK FindBox(HWND window, LPARAM found) {
  wchar_t cls[16] = {}, caption[64] = {};
  GetClassNameW(window, cls, 16);
  GetWindowTextW(window, caption, 64);
  if (std::wstring(cls) == L"#32770" && caption == cMessageBox::Title() && IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

// The message box's text is its static control that is not its icon.
BOOL CALLBACK SetQuestion(HWND child, LPARAM text) {
  wchar_t cls[16] = {};
  GetClassNameW(child, cls, 16);
  if (std::wstring(cls) != L"Static" || (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) return TRUE;
  SetWindowTextW(child, reinterpret_cast<const wchar_t*>(text));
  return FALSE;
}

}  // namespace

std::wstring cArrivalQuestion::Text(const std::wstring& label, std::size_t entries, int seconds) {
  // Two places for the seconds, so that the text keeps its width as they count down.
  const std::wstring left = (seconds < 10 ? L" " : L"") + std::to_wstring(seconds);
  return L"检测到 U 盘「" + label + L"」。现在备份其中的 " + std::to_wstring(entries) + L" 项吗？\n\n" + left +
         L" 秒后自动开始备份。";
}

bool cArrivalQuestion::Ask(HWND owner, const std::wstring& label, std::size_t entries) {
  Asking asking{label, entries, kSeconds, GetCurrentThreadId()};
  g_Asking = &asking;
  // A thread timer: the message box's own loop dispatches it.
  const UINT_PTR timer = SetTimer(nullptr, 0, 1000, &cArrivalQuestion::Tick);
  const int answer = cMessageBox(owner, false).Show(Text(label, entries, kSeconds), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1);
  if (timer) KillTimer(nullptr, timer);
  g_Asking = nullptr;
  return answer == IDYES;
}

void CALLBACK cArrivalQuestion::Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (!g_Asking) return;
  HWND box = nullptr;
  EnumThreadWindows(g_Asking->thread, FindBox, reinterpret_cast<LPARAM>(&box));
  if (!box) return;
  if (--g_Asking->left <= 0) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);  // no answer: the backup runs
    return;
  }
  const std::wstring text = Text(g_Asking->label, g_Asking->entries, g_Asking->left);
  EnumChildWindows(box, SetQuestion, reinterpret_cast<LPARAM>(text.c_str()));
}
