#pragma once
// What the backup window shows: its child controls placed from BackupLayout at the screen's
// DPI, their fonts, and the skin painted under them. The window tells it what to show; it
// holds no state of a backup.
#include <windows.h>

#include <string>

#include "BackupLayout.h"
#include "cBackupList.h"
#include "ProgressBar.h"
#include "ZListBox.h"
#include "cGdiObject.h"

class cBackupControls {
 public:
  // Measures the screen; the controls exist once Create has run.
  cBackupControls();

  // The window's size in pixels, for the layout's client area in twips.
  SIZE WindowSize() const;
  // Registers the form's class with the program's icon and creates the frameless form centred on
  // the work area, handing `owner` to `procedure` at WM_NCCREATE. Null when creation failed.
  HWND CreateForm(HINSTANCE instance, WNDPROC procedure, void* owner, const wchar_t* className, const wchar_t* caption);
  // Answers the messages that only the look decides (the labels' colours, the hand over "关闭",
  // the header band that moves the window); false for any other.
  bool AnswerLook(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) const;
  // Creates the fonts, the skin and every control on `form`, in tab order. Throws cPlatformError.
  void Create(HWND form, HINSTANCE instance);

  // Paints the skin at its own size and the rest of the client area in its ground colour.
  // A skin that failed to paint once is not tried again: the ground colour alone is painted.
  void PaintBackground(HDC dc);
  // WM_CTLCOLORSTATIC: labels are transparent over the skin; "关闭" has its own colour.
  LRESULT ColorStatic(HDC dc, HWND control) const;
  // The header band above the white panel, by which the frameless window is moved.
  bool InHeader(POINT client) const;

  std::wstring Text1Text() const;
  void SetText1(const std::wstring& text);
  // Sets a label's text and draws the skin under it again, which a transparent label needs.
  void SetLabelText(HWND label, const std::wstring& text);
  // Appends the list's entries from `first` on to List1.
  void AddEntries(const cBackupList& list, std::size_t first);
  // Scrolls List1 so that the entry is visible, centred if it was not; says whether it scrolled.
  bool KeepInView(int index);
  // During a run "开始" reads "停止" and has the focus, and the buttons and the box that would
  // change the run do nothing; after it all is as before.
  void ShowRunning(bool running);
  // Whether the text fits the label's width on one line, in the label's font.
  bool FitsIn(HWND label, const std::wstring& text) const;

  ZListBox List1;
  ProgressBar ProgressBar1;
  HWND Command1 = nullptr;  // child windows: destroyed with the form
  HWND Command2 = nullptr;
  HWND Command3 = nullptr;
  HWND Text1 = nullptr;
  HWND Label1 = nullptr;
  HWND Label2 = nullptr;
  HWND Label3 = nullptr;
  HWND Label4 = nullptr;

 private:
  void CreateControl(const BackupLayout::ControlSpec& layout);
  void CreateList(int id, const RECT& pixels);
  HWND* NativeControl(int id);
  HWND CreateChild(const wchar_t* className, const wchar_t* text, DWORD style, DWORD exStyle,
                   int id, const RECT& pixels, HFONT font);
  RECT PixelRect(int left, int top, int width, int height) const;
  int LabelWidth(const wchar_t* text) const;
  void PaintSkin(HDC dc, const RECT& client);
  void PaintGround(HDC dc, const RECT& client, int skinWidth, int skinHeight) const;

  HWND m_Form = nullptr;
  HICON m_Icon = nullptr;       // shared: the system keeps it
  HICON m_SmallIcon = nullptr;  // shared
  HINSTANCE m_hInstance = nullptr;
  int m_DpiX;
  int m_DpiY;
  bool m_SkinFailed = false;
  cGdiObject<HFONT> m_DefaultFont;
  cGdiObject<HFONT> m_CloseFont;
  cGdiObject<HBITMAP> m_Skin;
};
