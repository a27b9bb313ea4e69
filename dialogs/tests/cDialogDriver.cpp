#include "cDialogDriver.h"

#include <commdlg.h>
#include <dlgs.h>

#include <stdexcept>
#include <vector>

#include "cWatchdog.h"
#include "mScreenshot.h"
#include "mText.h"

namespace {

constexpr DWORD kWaitLimitMs = 20000;
constexpr UINT kSendLimitMs = 5000;

struct DriverStop : std::runtime_error {
  using std::runtime_error::runtime_error;
};

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendLimitMs,
                           &result))
    return 0;
  return static_cast<LRESULT>(result);
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

struct DialogSearch {
  HWND owner;
  HWND found;
};

BOOL CALLBACK FindOwnedDialog(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<DialogSearch*>(param);
  if (GetWindow(window, GW_OWNER) == search->owner && IsWindowVisible(window) &&
      ClassOf(window) == L"#32770") {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

struct DescendantSearch {
  const wchar_t* className;
  const wchar_t* text;
  HWND found;
};

BOOL CALLBACK FindMatchingChild(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<DescendantSearch*>(param);
  if (ClassOf(window) == search->className &&
      (!search->text || cDialogDriver::Text(window) == search->text)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

std::string Narrow(const std::wstring& text) { return mText::ToUtf8(text); }

}  // namespace

bool SameFolder(std::wstring a, std::wstring b) {
  while (!a.empty() && a.back() == L'\\') a.pop_back();
  while (!b.empty() && b.back() == L'\\') b.pop_back();
  return lstrcmpiW(a.c_str(), b.c_str()) == 0;
}

cDialogDriver::cDialogDriver(HWND owner, Script script)
    : m_Owner(owner), m_OwnerThread(GetWindowThreadProcessId(owner, nullptr)) {
  m_Thread = std::thread([this, script = std::move(script)] { Run(script); });
}

cDialogDriver::~cDialogDriver() {
  if (m_Thread.joinable()) m_Thread.join();
}

std::string cDialogDriver::Finish() {
  if (m_Thread.joinable()) m_Thread.join();
  return m_Failures;
}

void cDialogDriver::Run(const Script& script) {
  try {
    script(*this);
  } catch (const DriverStop&) {
  } catch (const std::exception& e) {
    m_Failures += std::string("driver: ") + e.what() + "\n";
    CancelThreadDialogs(m_OwnerThread);
  }
}

HWND cDialogDriver::FindDialog(HWND owner) {
  DialogSearch search{owner, nullptr};
  EnumWindows(FindOwnedDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND cDialogDriver::WaitForDialog(HWND owner) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindDialog(owner ? owner : m_Owner)) != nullptr; },
            "a dialog owned by the window");
  return found;
}

void cDialogDriver::WaitUntil(const std::function<bool()>& condition, const std::string& what) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > kWaitLimitMs) Fail("gave up waiting for " + what);
    Sleep(20);
  }
}

void cDialogDriver::WaitForClose(HWND dialog) {
  WaitUntil([dialog] { return !IsWindow(dialog); }, "the dialog to close");
}

void cDialogDriver::Fail(const std::string& why) {
  m_Failures += why + "\n";
  CancelThreadDialogs(m_OwnerThread);
  throw DriverStop(why);
}

void cDialogDriver::Screenshot(const std::wstring& name) {
  const std::wstring folder = ScreenshotFolder();
  if (folder.empty()) return;
  Sleep(800);  // let the dialog's thread finish painting
  SaveScreenBmp(folder + L"\\" + name + L".bmp");
}

std::wstring cDialogDriver::Text(HWND window) {
  const auto length = Send(window, WM_GETTEXTLENGTH, 0, 0);
  std::vector<wchar_t> text(static_cast<std::size_t>(length) + 1, L'\0');
  Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  return text.data();
}

void cDialogDriver::SetText(HWND window, const std::wstring& text) {
  Send(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void cDialogDriver::Click(HWND dialog, int id) {
  PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

HWND cDialogDriver::FindDescendant(HWND parent, const wchar_t* className, const wchar_t* text) {
  DescendantSearch search{className, text, nullptr};
  EnumChildWindows(parent, FindMatchingChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND cDialogDriver::FileNameBox(HWND dialog) {
  const HWND control = GetDlgItem(dialog, cmb13);
  if (!control) return GetDlgItem(dialog, edt1);
  return ClassOf(control) == L"Edit" ? control : FindDescendant(control, L"Edit");
}

std::wstring cDialogDriver::CurrentFolder(HWND dialog) {
  wchar_t path[MAX_PATH] = {};
  Send(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(path));
  return path;
}

void cDialogDriver::WaitForFileDialog(HWND dialog) {
  WaitUntil([dialog] { return FileNameBox(dialog) && !CurrentFolder(dialog).empty(); },
            "the file dialog to be ready");
}

void cDialogDriver::GoToFolder(HWND dialog, const std::wstring& folder) {
  WaitForFileDialog(dialog);
  if (SameFolder(CurrentFolder(dialog), folder)) return;
  SetText(FileNameBox(dialog), folder);
  Click(dialog, IDOK);
  WaitUntil([&] { return SameFolder(CurrentFolder(dialog), folder); },
            "the dialog to show " + Narrow(folder));
}

void cDialogDriver::Confirm(HWND dialog, const std::wstring& names) {
  SetText(FileNameBox(dialog), names);
  Click(dialog, IDOK);
}
