#pragma once
// A font selected into a device context, the previous font selected back on every path.
// A null font selects nothing: the context keeps its default font, which is what a window
// without WM_SETFONT draws with.
#include <windows.h>

class cSelectedFont {
 public:
  // Throws cPlatformError (operation `operation`) when SelectObject fails.
  cSelectedFont(HDC dc, HFONT font, const wchar_t* operation);
  ~cSelectedFont();
  cSelectedFont(const cSelectedFont&) = delete;
  cSelectedFont& operator=(const cSelectedFont&) = delete;

 private:
  HDC m_hDc;
  HGDIOBJ m_hPrevious;
};
