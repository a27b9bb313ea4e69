#include "cWindowDc.h"

#include "cPlatformError.h"

cWindowDc::cWindowDc(HWND window, const wchar_t* operation)
    : m_hWnd(window), m_hDc(GetDC(window)) {
  if (!m_hDc) throw cPlatformError::FromLastError(operation, L"device context", L"GetDC");
}

cWindowDc::~cWindowDc() { ReleaseDC(m_hWnd, m_hDc); }
