#pragma once
// The program's only window: a frameless skin with the list of files to back up, the
// destination box, the progress bar and the buttons, and the handlers that run a backup.
#include <windows.h>
#include <shellapi.h>

#include <chrono>
#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "BackupLayout.h"
#include "ProgressBar.h"
#include "ZListBox.h"
#include "cBackupList.h"
#include "cCommonDialog.h"
#include "cCopyFile.h"
#include "cGdiObject.h"
#include "cRedrawOff.h"
#include "mFailureReport.h"

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
  void OnCommand(int id, int code);
  void RunHandler(void (cBackupWindow::*handler)(), const wchar_t* action);
  // Shows one Chinese message for an error; `action` says what the window was doing.
  void ReportError(const wchar_t* action, const std::exception_ptr& error);
  void TakeParkedError(const wchar_t* action);

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

  void BackUpEntries(const std::wstring& folder, const std::vector<std::size_t>& order);
  void BackUpEntry(const std::wstring& folder, std::size_t entry);
  void EndRun(const std::exception_ptr& windowFailure);
  void ShowEntries(const std::vector<std::size_t>& entries);
  void ShowRunState(bool now);
  void ShowProgressText(int current, int total);
  void KeepInView(int index);
  void AddFiles(const std::vector<std::wstring>& paths);
  void OnDropFiles(HDROP drop);
  LRESULT HitTest(LPARAM lParam);
  void ShowRunResult(const std::exception_ptr& windowFailure);

  // Look: controls, fonts, skin.
  void CreateControls();
  void CreateControl(const BackupLayout::ControlSpec& layout);
  void CreateList(int id, const RECT& pixels);
  HWND* NativeControl(int id);
  HWND CreateChild(const wchar_t* className, const wchar_t* text, DWORD style, DWORD exStyle,
                   int id, const RECT& pixels, HFONT font);
  RECT PixelRect(int left, int top, int width, int height) const;
  int LabelWidth(const wchar_t* text) const;
  void PaintSkin(HDC dc);
  void PaintGround(HDC dc, const RECT& client, int skinWidth, int skinHeight);
  LRESULT ColorStatic(HDC dc, HWND control);
  std::wstring Text1Text() const;
  void SetText1(const std::wstring& text);
  void SetLabelText(HWND label, const std::wstring& text);

  HINSTANCE m_hInstance;
  HWND m_hWnd = nullptr;
  int m_DpiX = 96;
  int m_DpiY = 96;

  std::unique_ptr<cCommonDialog> m_Dlg;
  std::int32_t m_CurIndex = 0;
  std::unique_ptr<cCopyFile> m_Fc;
  cBackupList m_List;  // what List1 shows
  bool m_Running = false;
  bool m_Reporting = false;       // a message box for an error is up
  bool m_SkinFailed = false;      // painting the skin failed once: paint its ground colour only
  std::exception_ptr m_CreateError;  // why WM_CREATE refused the window
  // During a run: which file of how many, when the window last showed it, and the list held
  // from drawing in between.
  struct RunState {
    int current = 0;
    int total = 0;
    std::chrono::steady_clock::time_point shown{};
  } m_Run;
  std::optional<cRedrawOff> m_QuietList;

  ZListBox List1;
  ProgressBar ProgressBar1;
  HWND Command1 = nullptr;  // child windows: destroyed with this window
  HWND Command2 = nullptr;
  HWND Command3 = nullptr;
  HWND Text1 = nullptr;
  HWND Label1 = nullptr;
  HWND Label2 = nullptr;
  HWND Label3 = nullptr;
  HWND Label4 = nullptr;

  cGdiObject<HFONT> m_DefaultFont;
  cGdiObject<HFONT> m_CloseFont;
  cGdiObject<HBITMAP> m_Skin;
};
