#pragma once
// The program's message box, captioned with its title. With no one to answer (a run started by
// /backup), no box is shown: the answer is the one given for that case.
#include <windows.h>

#include <string>

class cMessageBox {
 public:
  cMessageBox(HWND owner, bool unattended) noexcept : m_Owner(owner), m_Unattended(unattended) {}

  // MessageBoxW's answer; `unattendedAnswer` with no one to answer.
  int Show(const std::wstring& text, UINT flags, int unattendedAnswer = IDOK) const;
  bool Unattended() const noexcept { return m_Unattended; }
  HWND Owner() const noexcept { return m_Owner; }

  // The caption: the program's title from the string table ("工程1").
  static const std::wstring& Title();

 private:
  HWND m_Owner;
  bool m_Unattended;
};
