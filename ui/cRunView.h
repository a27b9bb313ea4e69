#pragma once
// How the window shows a run while it goes on, as the run's listener: first how many files it has counted, then which
// file of how many, the whole run's share and the time left in Label3, the share in the window's
// title (which the taskbar shows) and on the taskbar button, the file in progress kept in view in
// List1, and the marks made so far.
// Nothing is shown until the run has gone on for a few hundred milliseconds (a shorter one says
// what it did in its closing message), except a long file as it begins; then the captions are
// redrawn at most that often, and List1 at most once a second: under Wine every change to a
// visible list repaints its scroll bar at once, which took longer than copying a small file, and
// drawing it again whole takes about as long as copying ten.
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cBackupControls.h"
#include "cBackupList.h"
#include "cBackupRunEvents.h"
#include "cMessageBox.h"
#include "cRedrawOff.h"
#include "cRunProgress.h"
#include "cRunReport.h"
#include "cTaskbarProgress.h"

class cRunView : public cBackupRunEvents {
 public:
  // Shows the start of a run of `list` in the window `box` belongs to: the controls as they are
  // during one. What became of each file goes to `report`.
  cRunView(const cMessageBox& box, cBackupControls& view, const cBackupList& list, cRunReport& report);
  // Back to the window at rest: caption, title, controls and taskbar button as before the run.
  ~cRunView();
  cRunView(const cRunView&) = delete;
  cRunView& operator=(const cRunView&) = delete;

  // The engine's two events: ProgressBar1 follows the file's bytes, and the file's entry shows
  // its mark once the run has made it.
  void CopyProgress(std::int64_t CopyBytes, std::int64_t AllBytes) override { m_Fc_CopyProgress(CopyBytes, AllBytes); }
  void CopyComplete(std::int64_t AllBytes) override { m_Fc_CopyComplete(AllBytes); }
  // While the run counts what it will copy: "正在统计：N 个文件".
  void Counting(int files) override;
  // Asks whether to replace `files` backups, as a run that looks like the work of a damaged
  // source does before it writes anything; true for "是", never unattended.
  bool ConfirmReplacing(int files) override;
  // The count is done: the plain caption until the first file begins.
  void Counted(const cRunProgress& progress) override;
  // A file of the entry begins.
  void FileBegan(std::size_t entry, const cRunProgress& progress) override;
  // These entries changed in the list: List1 shows them so at the next showing.
  void EntriesChanged(const std::vector<std::size_t>& entries) override;
  // A file failed: the taskbar button turns red, and its entries show it.
  void FileFailed(const std::vector<std::size_t>& entries) override;
  void FileDone(const std::wstring& source, FileResult result, const std::wstring& reason) override;
  // Another run writes into the destination: "正在等待另一个备份结束…", and the window answers for
  // up to `pause`. Throws what a control's handler threw meanwhile.
  void DestinationBusy(std::chrono::milliseconds pause) override;
  // Between the run's steps: every few milliseconds, shows how far it has come (once counted)
  // and takes the window's messages. Throws what a control's handler threw meanwhile.
  void Waiting(const cRunProgress* progress) override;
  // At the end of the run: List1 drawn again with what came meanwhile, when the window next takes
  // its messages; the input given during the run dropped (a late click on "停止" must not start a
  // new run). Answers why the taskbar button stopped showing the run, if it did (the run went
  // on without it).
  std::exception_ptr End();

 private:
  void m_Fc_CopyProgress(std::int64_t CopyBytes, std::int64_t AllBytes);
  void m_Fc_CopyComplete(std::int64_t AllBytes);
  // Draws what changed, now or once the interval since the last drawing has passed; List1 only
  // once its own interval has.
  void Show(const cRunProgress& progress, bool now);
  void ShowOnTaskbar(const cRunProgress& progress);
  bool Due(bool now);

  cMessageBox m_Box;
  HWND m_Window;
  cBackupControls& m_View;
  const cBackupList& m_List;
  cRunReport& m_Report;
  std::int32_t m_CurIndex = 0;  // the entry whose file is being copied
  std::chrono::steady_clock::time_point m_Shown;  // the captions last drawn, or the run's start
  std::chrono::steady_clock::time_point m_ListShown{};
  std::chrono::steady_clock::time_point m_Pumped{};  // when the messages were last taken
  std::optional<cRedrawOff> m_QuietList;  // List1 held from drawing between two showings
  bool m_ListChanged = false;  // since List1 was last drawn; drawing a long list is not cheap
  std::optional<cTaskbarProgress> m_Taskbar;
  std::exception_ptr m_TaskbarError;
};
