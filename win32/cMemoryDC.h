#pragma once
// A memory device context, with one bitmap selected or none, restored and freed on every path.
#include <windows.h>

class cMemoryDC {
 public:
  cMemoryDC(HDC compatibleWith, HBITMAP bitmap);
  // Compatible with the screen, with no bitmap: for measuring text, which needs no window's
  // device context (under Wine each GetDC is a round trip to the server). Throws cPlatformError
  // for `operation` when it cannot be made.
  explicit cMemoryDC(const wchar_t* operation);
  ~cMemoryDC();
  cMemoryDC(const cMemoryDC&) = delete;
  cMemoryDC& operator=(const cMemoryDC&) = delete;
  HDC Get() const noexcept { return m_Dc; }

 private:
  HDC m_Dc;
  HGDIOBJ m_Previous;
};
