#pragma once
// Starts the real program and drives it from outside, the way a user would: clicks its
// buttons, fills in and confirms its dialogs, reads what its controls show.
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "cAppDataFolder.h"
#include "cTestDir.h"

class cAppDriver {
 public:
  // Starts the program with these arguments, its job file and logs in `appData` (a folder of
  // the driver's own when empty).
  explicit cAppDriver(const std::wstring& arguments = L"", const std::wstring& appData = L"");
  ~cAppDriver();  // ends the program if it still runs
  cAppDriver(const cAppDriver&) = delete;
  cAppDriver& operator=(const cAppDriver&) = delete;

  HWND Window() const { return m_Window; }
  HWND Control(int id) const;
  HWND ListBox() const;  // the native list box inside List1
  DWORD ProcessId() const { return m_Process.dwProcessId; }
  DWORD ThreadId() const { return m_Process.dwThreadId; }  // the program's user-interface thread

  // Posts a click, so a handler that opens a modal dialog or runs a backup does not block us.
  void Click(int id) const;
  void ClickLabel(int id) const;
  void SetText(int id, const std::wstring& text) const;
  std::wstring Text(HWND window) const;
  std::vector<std::wstring> ListEntries() const;
  int BarPosition() const;
  int BarMax() const;

  // Waits for a visible dialog window (#32770) of the program that satisfies the test.
  HWND WaitForDialog(const std::function<bool(HWND)>& matches, std::chrono::milliseconds timeout = std::chrono::seconds(60)) const;
  HWND WaitForMessageBox() const;
  // The program's message box showing now, if any; does not wait.
  HWND FindMessageBox() const;
  // The text of a message box and whether it shows an icon.
  std::wstring MessageText(HWND box) const;
  bool MessageHasIcon(HWND box) const;
  // Which of the standard icons (IDI_ERROR, IDI_WARNING, IDI_INFORMATION, IDI_QUESTION) the box
  // shows, told by its pixels on the screen; nullptr when it shows none of them.
  const wchar_t* MessageIcon(HWND box) const;
  void PressButton(HWND dialog, int id) const;
  // Presses "开始" and returns the message box the run ends with.
  HWND RunBackup() const;
  // Confirms a message box and waits until it has gone.
  void Acknowledge(HWND box) const;
  void WaitUntilGone(HWND window) const;

  // Picks files in the open dialog: navigates into folder, then confirms the names.
  void PickFiles(const std::wstring& folder, const std::vector<std::wstring>& names) const;
  // Drops files onto the window as the shell hands them over: a DROPFILES block with wide
  // names, placed in the program's own memory (a handle of ours would mean nothing there), in
  // a posted WM_DROPFILES. Returns once the list has grown or the program shows a message.
  void DropFiles(const std::vector<std::wstring>& paths) const;

  bool WaitForExit(std::chrono::milliseconds timeout) const;
  DWORD ExitCode() const;
  const cAppDataFolder& AppData() const { return m_AppData; }
  // Ends the program at once, as the task manager or a power cut does.
  void Kill() const;
  // Saves what the screen shows of the program's window (or of `window`) as a BMP file.
  void Screenshot(const std::wstring& name, HWND window = nullptr) const;

 private:
  cTestDir m_OwnAppData;
  cAppDataFolder m_AppData;
  PROCESS_INFORMATION m_Process{};
  HWND m_Window = nullptr;
};

// Lets the program and the X server catch up.
void Settle(std::chrono::milliseconds time = std::chrono::milliseconds(200));
std::wstring WindowClass(HWND window);
