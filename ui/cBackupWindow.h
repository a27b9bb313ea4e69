#pragma once
// The program's only window: a frameless skin with the list of files to back up, the
// destination box, the progress bar and the buttons. It holds the backup list and dispatches
// the user's clicks and the copy's events to the handlers that run a backup; what it shows is
// drawn by its controls (cBackupControls).
#include <windows.h>
#include <shellapi.h>

#include <chrono>
#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cBackupControls.h"
#include "cBackupList.h"
#include "cCommonDialog.h"
#include "cCopyFile.h"
#include "cRunPlan.h"
#include "cRunView.h"

class cBackupWindow : public cCopyFileEvents {
 public:
  explicit cBackupWindow(HINSTANCE instance);
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
  LRESULT HitTest(LPARAM lParam) const;
  void RunHandler(void (cBackupWindow::*handler)(), const wchar_t* action);
  // Shows one Chinese message for an error; `action` says what the window was doing.
  void ReportError(const wchar_t* action, const std::exception_ptr& error);
  void TakeParkedError(const wchar_t* action);
  int Say(const std::wstring& text, UINT flags);

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

  void CopyProgress(std::int64_t CopyBytes, std::int64_t AllBytes) override;
  void CopyComplete(std::int64_t AllBytes) override;

  void AddFiles(const std::vector<std::wstring>& paths);
  void BeginRun(const cRunPlan& plan);
  void BackUpSteps(const cRunPlan& plan);
  void TakeStep(const cRunPlan::Step& step);
  void StepDone();
  void StepFailed(const cRunPlan::Step& step, const std::wstring& reason);
  void EndRun(const std::exception_ptr& windowFailure);
  void RequestStop();
  void AskToStopAndClose();
  void Pump();
  void PumpWhenDue();
  void ShowEntries(const std::vector<std::size_t>& entries);
  void ShowRunResult(const std::exception_ptr& windowFailure, int files);

  HINSTANCE m_hInstance;
  HWND m_hWnd = nullptr;
  cBackupControls m_View;

  std::unique_ptr<cCommonDialog> m_Dlg;
  std::int32_t m_CurIndex = 0;
  const cRunPlan::Step* m_Step = nullptr;  // the run's step in progress
  std::unique_ptr<cCopyFile> m_Fc;
  cBackupList m_List;  // what List1 shows
  bool m_Running = false;
  bool m_Reporting = false;          // a message box for an error is up
  std::exception_ptr m_CreateError;  // why WM_CREATE refused the window
  // During a run: what the user asked for and what was done, and how the window shows it.
  struct RunState {
    int backedUp = 0;          // files this run backed up (or found up to date)
    bool stopRequested = false;
    bool stoppedEarly = false;  // the stop left a file or step undone
    bool stopSent = false;     // the copy in progress was told to stop
    bool closeAfter = false;   // the user chose to stop and close
    std::chrono::steady_clock::time_point pumped{};  // when the messages were last taken
    std::vector<std::wstring> links;  // links inside folder entries, not followed
  } m_Run;
  std::optional<cRunView> m_RunView;
};
