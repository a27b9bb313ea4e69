#include "cRunView.h"

#include <utility>

#include "ControlIds.h"
#include "cControlWindow.h"
#include "mMessagePump.h"
#include "mProgressScale.h"

namespace {

constexpr wchar_t kProgressCaption[] = L"备份进度：";
constexpr wchar_t kCountingCaption[] = L"正在统计：";
constexpr wchar_t kBusyCaption[] = L"正在等待另一个备份结束…";
// Often enough to look live.
constexpr auto kRedrawInterval = std::chrono::milliseconds(250);
// The marks come in groups; the caption says how far the run has come in between.
constexpr auto kListRedrawInterval = std::chrono::milliseconds(1000);
// A file this long takes a while to copy, even to a fast disk: it is named as it begins, so that
// each such file is seen in its turn.
constexpr std::int64_t kLongFileBytes = 16 << 20;

}  // namespace

cRunView::cRunView(const cMessageBox& box, cBackupControls& view, const cBackupList& list, cRunReport& report)
    : m_Box(box),
      m_Window(box.Owner()),
      m_View(view),
      m_List(list),
      m_Report(report),
      m_Shown(std::chrono::steady_clock::now()) {
  m_View.ShowRunning(true);
  // "停止" shows from here on: a click or key given before it (a double-click on "开始", say,
  // queued while the window was busy) was meant for what the window showed then.
  mMessagePump::DiscardInput();
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

std::exception_ptr cRunView::End() {
  // The list is drawn again by whatever takes the window's messages next: the closing message's
  // own loop, which shows it at once. Clicks and keys given meanwhile were meant for the run.
  m_QuietList.reset();
  mMessagePump::DiscardInput();
  return std::exchange(m_TaskbarError, nullptr);
}

void cRunView::Counting(int files) {
  if (Due(false)) m_View.SetLabelText(m_View.Label3, kCountingCaption + std::to_wstring(files) + L" 个文件");
}

bool cRunView::ConfirmReplacing(int files) {
  const std::wstring question =
      L"将替换 " + std::to_wstring(files) + L" 个已备份的文件。源文件可能已损坏或被加密。仍要继续吗？";
  return m_Box.Show(question, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2, IDNO) == IDYES;
}

void cRunView::DestinationBusy(std::chrono::milliseconds pause) {
  m_View.SetLabelText(m_View.Label3, kBusyCaption);
  mMessagePump::WaitAndDispatch(static_cast<DWORD>(pause.count()), mMessagePump::Mode::Run, m_Window);
  cControlWindow::RethrowPendingError();
}

void cRunView::Counted(const cRunProgress&) { m_View.SetLabelText(m_View.Label3, kProgressCaption); }

void cRunView::FileBegan(std::size_t entry, const cRunProgress& progress) {
  m_CurIndex = static_cast<std::int32_t>(entry);
  Show(progress, progress.CurrentBytes() >= kLongFileBytes);
}

void cRunView::m_Fc_CopyProgress(std::int64_t CopyBytes, std::int64_t AllBytes) {
  const auto bar = mProgressScale::Scale(CopyBytes, AllBytes);
  m_View.ProgressBar1.Max(bar.max);
  m_View.ProgressBar1.Value(bar.value);
}

// The run has marked the copy's entry in the list (a file entry; a folder entry once it is
// whole): List1 shows what the list holds.
void cRunView::m_Fc_CopyComplete(std::int64_t) { EntriesChanged(m_List.EntriesOf(static_cast<std::size_t>(m_CurIndex))); }

void cRunView::FileDone(const std::wstring& source, FileResult result, const std::wstring& reason) {
  m_Report.File(source, result, reason);
}

void cRunView::FileFailed(const std::vector<std::size_t>& entries) {
  if (m_Taskbar) m_Taskbar->Failed();
  EntriesChanged(entries);
}

void cRunView::EntriesChanged(const std::vector<std::size_t>& entries) {
  for (const std::size_t entry : entries) m_View.List1.List(static_cast<std::int16_t>(entry), m_List.Text(entry));
  m_ListChanged = true;
}

bool cRunView::Due(bool now) {
  const auto time = std::chrono::steady_clock::now();
  if (!now && time - m_Shown < kRedrawInterval) return false;
  m_Shown = time;
  return true;
}

void cRunView::Show(const cRunProgress& progress, bool now) {
  // Between the count and the first file the plain caption stays: "0/4" would say nothing.
  if (progress.Current() == 0 || !Due(now)) return;
  const auto time = std::chrono::steady_clock::now();
  const std::wstring caption = progress.Caption(time, true);
  m_View.SetLabelText(m_View.Label3, m_View.FitsIn(m_View.Label3, caption) ? caption : progress.Caption(time, false));
  SetWindowTextW(m_Window, progress.Title(kBackupWindowCaption).c_str());
  ShowOnTaskbar(progress);
  if (time - m_ListShown < kListRedrawInterval) return;
  m_ListShown = time;
  if (m_View.KeepInView(m_CurIndex)) m_ListChanged = true;
  if (m_QuietList && std::exchange(m_ListChanged, false)) m_QuietList->ShowNow();
}

// The button's progress is a second view of the run: when it fails it is given up, the run goes
// on, and the error is shown once the run is over.
void cRunView::ShowOnTaskbar(const cRunProgress& progress) {
  if (!m_Taskbar) return;
  try {
    m_Taskbar->Show(static_cast<std::uint64_t>(progress.DoneBytes()), static_cast<std::uint64_t>(progress.TotalBytes()));
  } catch (...) {
    m_TaskbarError = std::current_exception();
    m_Taskbar.reset();
  }
}

void cRunView::Waiting(const cRunProgress* progress) {
  // Often enough that the window answers at once, but not after every one of many small files or
  // chunks: under Wine each look at the queue is a round trip to the server.
  constexpr auto kPumpInterval = std::chrono::milliseconds(15);
  const auto now = std::chrono::steady_clock::now();
  if (now - m_Pumped < kPumpInterval) return;
  m_Pumped = now;
  if (progress) Show(*progress, false);
  mMessagePump::DispatchPending(mMessagePump::Mode::Run, m_Window);
  cControlWindow::RethrowPendingError();  // a control's failure is the window's
}
