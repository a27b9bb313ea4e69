#pragma once
// A memory device context with one bitmap selected, both restored and freed on every path.
#include <windows.h>

class cMemoryDC {
 public:
  cMemoryDC(HDC compatibleWith, HBITMAP bitmap);
  ~cMemoryDC();
  cMemoryDC(const cMemoryDC&) = delete;
  cMemoryDC& operator=(const cMemoryDC&) = delete;
  HDC Get() const noexcept { return m_Dc; }

 private:
  HDC m_Dc;
  HGDIOBJ m_Previous;
};
