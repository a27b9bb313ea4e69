#pragma once
// The program's only window: a frameless skin with the list of files to back up, the
// destination box, the progress bar and the buttons. It holds the backup list, dispatches the
// user's clicks to its handlers, and drives a backup run (cBackupRun), whose listener it is;
// what it shows is drawn by its controls (cBackupControls) and, during a run, cRunView.
#include <windows.h>
#include <shellapi.h>

#include <chrono>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cArrivalWatch.h"
#include "cBackupControls.h"
#include "cBackupList.h"
#include "cBackupRun.h"
#include "cCommonDialog.h"
#include "cCopyFile.h"
#include "cJobList.h"
#include "cListMenu.h"
#include "cMessageBox.h"
#include "cOneWindow.h"
#include "mCommandLine.h"
#include "cRunReport.h"
#include "cRunView.h"

class cBackupWindow : public cBackupRunEvents {
 public:
  // `request`: how the program was started (an unattended run asks nothing and ends by itself);
  // `one`: the program's claim to be the one window on its job, if it is.
  explicit cBackupWindow(HINSTANCE instance, mCommandLine::Request request = {}, const cOneWindow* one = nullptr);
  ~cBackupWindow();
  cBackupWindow(const cBackupWindow&) = delete;
  cBackupWindow& operator=(const cBackupWindow&) = delete;

  void Show(int showCommand);
  // The program's message loop, until the window is closed; answers WM_QUIT's code.
  int RunMessageLoop();
  HWND hwnd() const noexcept { return m_hWnd; }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnCreate();
  void OnCommand(int id, int code);
  void OnDropFiles(HDROP drop);
  void RunHandler(void (cBackupWindow::*handler)(), const wchar_t* action);
  // Runs `work`; what it throws is shown as one message about `action`.
  void Try(const wchar_t* action, const std::function<void()>& work);
  // Shows one Chinese message for an error; `action` says what the window was doing.
  void ReportError(const wchar_t* action, const std::exception_ptr& error);
  void TakeParkedError(const wchar_t* action);
  int Say(const std::wstring& text, UINT flags);
  // The window's message box: none for an unattended run.
  cMessageBox Box() const;

  // The window's life and the user's clicks.
  void Form_Initialize();
  void Form_Load();
  void Form_Unload();
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Label4_Click();
  void m_Fc_CopyProgress(std::int64_t CopyBytes, std::int64_t AllBytes);
  void m_Fc_CopyComplete(std::int64_t AllBytes);

  // What the run tells: the engine's two events, and how the run goes.
  void CopyProgress(std::int64_t CopyBytes, std::int64_t AllBytes) override;
  void CopyComplete(std::int64_t AllBytes) override;
  void Counting(int files) override;
  bool ConfirmReplacing(int files) override;
  void Counted(const cRunProgress& progress) override;
  void FileBegan(std::size_t entry, const cRunProgress& progress) override;
  void EntriesChanged(const std::vector<std::size_t>& entries) override;
  void FileFailed(const std::vector<std::size_t>& entries) override;
  void FileDone(const std::wstring& source, FileResult result, const std::wstring& reason) override;
  void DestinationBusy(std::chrono::milliseconds pause) override;
  void Waiting() override;

  void AddFiles(const std::vector<std::wstring>& paths);
  // Writes the job when the destination box changed since it was last written.
  void SaveTypedDestination();
  void Quit(int exitCode);
  // A run that cannot begin, and why: told to the person at the window; an unattended run
  // writes it to its log and ends with mExitCode::kNothingDone.
  void CannotRun(const std::wstring& reason);
  void StartUnattended();
  void EndRun(const std::exception_ptr& failure);
  void AskToStopAndClose();

  HINSTANCE m_hInstance;
  const cOneWindow* m_One;  // not owned
  HWND m_hWnd = nullptr;
  cBackupControls m_View;

  std::unique_ptr<cCommonDialog> m_Dlg;
  std::int32_t m_CurIndex = 0;
  std::unique_ptr<cCopyFile> m_Fc;
  mCommandLine::Request m_Request;
  int m_ExitCode = 0;  // of the message loop
  cBackupList m_List;  // what List1 shows
  cJobList m_Job;      // the list and the destination as the user edits them, remembered
  cListMenu m_ListMenu;  // Delete and the context menu of List1
  cArrivalWatch m_Arrival;  // the question when a stick with listed entries arrives
  bool m_Reporting = false;          // a message box for an error is up
  std::exception_ptr m_CreateError;  // why WM_CREATE refused the window
  // During a run: the run, how the window shows it, and what the user asked for.
  std::optional<cBackupRun> m_Run;
  std::optional<cRunView> m_RunView;
  cRunReport m_Report;  // the run's log and closing message
  bool m_CloseAfterRun = false;
  bool m_Quitting = false;  // an unattended run's end is decided: its code is set
  bool m_SavePending = false;  // the destination box changed; the save timer runs
};
