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
#include "cErrorReport.h"
#include "cListMenu.h"
#include "cMessageBox.h"
#include "cOneWindow.h"
#include "mCommandLine.h"
#include "cRunReport.h"
#include "cRunView.h"

class cBackupWindow {
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
  std::unique_ptr<cCopyFile> m_Fc;
  mCommandLine::Request m_Request;
  int m_ExitCode = 0;  // of the message loop
  cBackupList m_List;  // what List1 shows
  cJobList m_Job;      // the list and the destination as the user edits them, remembered
  cListMenu m_ListMenu;  // Delete and the context menu of List1
  cArrivalWatch m_Arrival;  // the question when a stick with listed entries arrives
  std::exception_ptr m_CreateError;  // why WM_CREATE refused the window
  cRunReport m_Report;  // the run's log and closing message
  cErrorReport m_Errors;  // how the window says an error
  // During a run: how the window shows it (the run's listener), the run, and what the user
  // asked for.
  std::optional<cRunView> m_RunView;
  std::optional<cBackupRun> m_Run;
  bool m_CloseAfterRun = false;
  bool m_Quitting = false;  // an unattended run's end is decided: its code is set
};
