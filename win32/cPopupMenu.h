#pragma once
// Owns one popup menu, made empty at construction and destroyed once.
#include <windows.h>

#include "cPlatformError.h"

class cPopupMenu {
 public:
  // Throws cPlatformError; `operation` says what the menu is for.
  explicit cPopupMenu(const wchar_t* operation) : m_Menu(CreatePopupMenu()) {
    if (!m_Menu) throw cPlatformError::FromLastError(operation, L"", L"CreatePopupMenu");
  }
  cPopupMenu(const cPopupMenu&) = delete;
  cPopupMenu& operator=(const cPopupMenu&) = delete;
  ~cPopupMenu() { DestroyMenu(m_Menu); }

  HMENU Get() const noexcept { return m_Menu; }

 private:
  HMENU m_Menu;
};
