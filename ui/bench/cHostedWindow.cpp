#include "cHostedWindow.h"

#include <optional>
#include <stdexcept>

#include "ControlIds.h"
#include "cMessageBoxClock.h"
#include "mBackupNames.h"
#include "mBenchTiming.h"
#include "mDropFiles.h"
#include "mText.h"
#include "mMessagePump.h"

namespace {

std::string Describe(const std::vector<cDialogWatcher::Seen>& seen) {
  std::string text;
  for (const auto& box : seen) text += " \"" + mText::ToUtf8(box.text) + "\"";
  return text.empty() ? " none" : text;
}

}  // namespace

cHostedWindow::cHostedWindow(cDialogWatcher& watcher)
    : m_Watcher(watcher), m_AppData(m_AppDataDir.Root()), m_Window(GetModuleHandleW(nullptr)) {
  m_Window.Show(SW_SHOW);
  mMessagePump::DispatchPending();
}

cHostedWindow::~cHostedWindow() {
  // Whatever the run left to paint is done before the window goes, outside any timing.
  mMessagePump::DispatchPending();
}

double cHostedWindow::Drop(const std::vector<std::wstring>& paths) {
  const auto start = mBenchTiming::Clock::now();
  SendMessageW(m_Window.hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(mDropFiles::Make(paths)), 0);
  UpdateWindow(m_Window.hwnd());
  mMessagePump::DispatchPending();
  const double seconds = mBenchTiming::SecondsSince(start);
  const auto seen = m_Watcher.TakeSeen();
  if (!seen.empty()) throw std::runtime_error("the drop was answered with a message:" + Describe(seen));
  return seconds;
}

double cHostedWindow::Run(const std::wstring& folder) {
  SetWindowTextW(Child(IDC_TEXT1), folder.c_str());
  m_Watcher.TakeSeen();
  mBenchTiming::Clock::time_point start;
  std::optional<mBenchTiming::Clock::time_point> shown;
  {
    cMessageBoxClock clock;
    start = mBenchTiming::Clock::now();
    // Returns once the run's closing message has been answered.
    SendMessageW(Child(IDC_COMMAND3), BM_CLICK, 0, 0);
    shown = clock.Shown();
  }
  mMessagePump::DispatchPending();
  const auto seen = m_Watcher.TakeSeen();
  if (seen.size() != 1 || seen[0].text != L"完成备份！")
    throw std::runtime_error("the run ended with the messages" + Describe(seen));
  if (!shown) throw std::runtime_error("the run's message box was not seen being created");
  return mBenchTiming::SecondsBetween(start, *shown);
}

void cHostedWindow::ExpectAllMarked(int count) const {
  if (ListCount() != count)
    throw std::runtime_error("the list holds " + std::to_string(ListCount()) + " entries, not " + std::to_string(count));
  for (int i = 0; i < count; ++i)
    if (!mBackupNames::IsMarked(Entry(i)))
      throw std::runtime_error("entry " + std::to_string(i) + " is not marked: " + mText::ToUtf8(Entry(i)));
}

int cHostedWindow::ListCount() const { return static_cast<int>(SendMessageW(List(), LB_GETCOUNT, 0, 0)); }

std::wstring cHostedWindow::Entry(int index) const {
  const auto i = static_cast<WPARAM>(index);
  std::wstring text(static_cast<std::size_t>(SendMessageW(List(), LB_GETTEXTLEN, i, 0)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(SendMessageW(List(), LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

HWND cHostedWindow::Child(int id) const { return GetDlgItem(m_Window.hwnd(), id); }

HWND cHostedWindow::List() const { return FindWindowExW(Child(IDC_LIST1), nullptr, L"ListBox", nullptr); }
