#include "cRunView.h"

#include <utility>

#include "ControlIds.h"

namespace {

constexpr wchar_t kProgressCaption[] = L"备份进度：";
// Often enough to look live.
constexpr auto kRedrawInterval = std::chrono::milliseconds(250);

}  // namespace

cRunView::cRunView(HWND window, cBackupControls& view, int files, std::int64_t bytes)
    : m_Window(window), m_View(view), m_Progress(files, bytes, cRunProgress::Clock::now()) {
  m_View.ShowRunning(true);
  m_QuietList.emplace(m_View.List1.ListHwnd());
  try {
    m_Taskbar.emplace(m_Window);
  } catch (...) {
    m_TaskbarError = std::current_exception();
  }
}

cRunView::~cRunView() {
  m_QuietList.reset();
  m_Taskbar.reset();
  m_View.ShowRunning(false);
  SetWindowTextW(m_Window, kBackupWindowCaption);
  m_View.SetLabelText(m_View.Label3, kProgressCaption);
}

void cRunView::BeginFile(std::int64_t bytes, int entry) {
  m_Progress.BeginFile(bytes);
  m_Entry = entry;
  Show(m_Progress.Current() == 1 || m_Progress.Current() == m_Progress.Files());
}

void cRunView::FileProgress(std::int64_t copied) { m_Progress.FileProgress(copied); }

void cRunView::FileFailed() {
  if (m_Taskbar) m_Taskbar->Failed();
}

void cRunView::Show(bool now) {
  const auto time = std::chrono::steady_clock::now();
  if (!now && time - m_Shown < kRedrawInterval) return;
  m_Shown = time;
  if (m_View.KeepInView(m_Entry)) m_ListChanged = true;
  const std::wstring caption = m_Progress.Caption(time, true);
  m_View.SetLabelText(m_View.Label3, m_View.FitsIn(m_View.Label3, caption) ? caption : m_Progress.Caption(time, false));
  SetWindowTextW(m_Window, m_Progress.Title(kBackupWindowCaption).c_str());
  ShowOnTaskbar();
  if (m_QuietList && std::exchange(m_ListChanged, false)) m_QuietList->ShowNow();
}

// The button's progress is a second view of the run: when it fails it is given up, the run goes
// on, and the error is shown once the run is over.
void cRunView::ShowOnTaskbar() {
  if (!m_Taskbar) return;
  try {
    m_Taskbar->Show(static_cast<std::uint64_t>(m_Progress.DoneBytes()), static_cast<std::uint64_t>(m_Progress.TotalBytes()));
  } catch (...) {
    m_TaskbarError = std::current_exception();
    m_Taskbar.reset();
  }
}
