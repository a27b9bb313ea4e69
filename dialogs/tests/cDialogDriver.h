#pragma once
// Plays the user's part in the modal dialogs that the code under test shows. The script runs
// on a thread of its own: it waits for the dialog owned by the test window, reads it, types
// into its boxes and presses its buttons. A wait that runs out cancels the dialogs and ends the
// script with a failure, which Finish() returns to the test.
#include <windows.h>

#include <functional>
#include <string>
#include <thread>

class cDialogDriver {
 public:
  using Script = std::function<void(cDialogDriver&)>;

  cDialogDriver(HWND owner, Script script);
  ~cDialogDriver();
  cDialogDriver(const cDialogDriver&) = delete;
  cDialogDriver& operator=(const cDialogDriver&) = delete;

  // Waits for the script to end; what went wrong, or the empty text.
  std::string Finish();

  // --- for scripts ---
  // The visible dialog box (#32770) owned by `owner` (the test window when omitted).
  HWND WaitForDialog(HWND owner = nullptr);
  void WaitUntil(const std::function<bool()>& condition, const std::string& what);
  void WaitForClose(HWND dialog);
  [[noreturn]] void Fail(const std::string& why);
  // Saves a picture of the screen as <name>.bmp in OMB_SCREENSHOT_DIR, when that is set.
  void Screenshot(const std::wstring& name);

  // The visible dialog box owned by `owner`, or null.
  static HWND FindDialog(HWND owner);
  static std::wstring Text(HWND window);
  static void SetText(HWND window, const std::wstring& text);
  // Presses the dialog's button as a mouse click does (BM_CLICK, posted).
  static void Click(HWND dialog, int id);
  // The first descendant of `parent` of the given window class (and text, when given).
  static HWND FindDescendant(HWND parent, const wchar_t* className, const wchar_t* text = nullptr);

  // --- the explorer-style file dialogs ---
  // The edit box the user types file names into (inside the combo box 0x47C).
  static HWND FileNameBox(HWND dialog);
  // The folder the dialog shows (CDM_GETFOLDERPATH).
  static std::wstring CurrentFolder(HWND dialog);
  // Waits until the dialog is ready for typing.
  void WaitForFileDialog(HWND dialog);
  // Unless the dialog already shows it, types a folder's path into the name box and presses
  // Open, then waits for the dialog to show that folder.
  void GoToFolder(HWND dialog, const std::wstring& folder);
  // Types `names` (for example "\"a.txt\" \"b.txt\"") and presses the dialog's OK button.
  void Confirm(HWND dialog, const std::wstring& names);

 private:
  void Run(const Script& script);

  HWND m_Owner;
  DWORD m_OwnerThread;
  std::string m_Failures;
  std::thread m_Thread;
};

// Folder paths compared as the file system does: case-insensitive, trailing backslash ignored.
bool SameFolder(std::wstring a, std::wstring b);
