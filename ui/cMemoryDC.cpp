#include "cMemoryDC.h"

#include "cFileError.h"

cMemoryDC::cMemoryDC(HDC compatibleWith, HBITMAP bitmap) : m_Dc(CreateCompatibleDC(compatibleWith)) {
  if (!m_Dc) throw cFileError::FromLastError(L"CreateCompatibleDC", L"skin");
  m_Previous = SelectObject(m_Dc, bitmap);
}

cMemoryDC::~cMemoryDC() {
  SelectObject(m_Dc, m_Previous);
  DeleteDC(m_Dc);
}
