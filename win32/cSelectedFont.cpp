#include "cSelectedFont.h"

#include "cPlatformError.h"

cSelectedFont::cSelectedFont(HDC dc, HFONT font, const wchar_t* operation)
    : m_hDc(dc), m_hPrevious(nullptr) {
  if (!font) return;
  SetLastError(0);
  m_hPrevious = SelectObject(dc, font);
  // For a font, SelectObject answers null on failure (HGDI_ERROR is its answer for regions).
  if (!m_hPrevious) {
    throw cPlatformError::FromLastError(operation, L"font", L"SelectObject",
                                        L"the font cannot be selected");
  }
}

cSelectedFont::~cSelectedFont() {
  if (m_hPrevious) SelectObject(m_hDc, m_hPrevious);
}
