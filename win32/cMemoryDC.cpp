#include "cMemoryDC.h"

#include "cPlatformError.h"

cMemoryDC::cMemoryDC(HDC compatibleWith, HBITMAP bitmap) : m_Dc(CreateCompatibleDC(compatibleWith)) {
  if (!m_Dc) throw cPlatformError::FromLastError(L"paint skin", L"skin", L"CreateCompatibleDC");
  m_Previous = SelectObject(m_Dc, bitmap);
}

cMemoryDC::cMemoryDC(const wchar_t* operation) : m_Dc(CreateCompatibleDC(nullptr)), m_Previous(nullptr) {
  if (!m_Dc) throw cPlatformError::FromLastError(operation, L"screen", L"CreateCompatibleDC");
}

cMemoryDC::~cMemoryDC() {
  if (m_Previous) SelectObject(m_Dc, m_Previous);
  DeleteDC(m_Dc);
}
