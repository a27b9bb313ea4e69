#pragma once
// A plain top-level window holding one ZListBox of List1's size and font, to time the control
// on its own, without the backup window's way of adding.
#include <windows.h>

#include <string>

#include "ZListBox.h"
#include "cGdiObject.h"

class cListHost {
 public:
  cListHost();
  ~cListHost();
  cListHost(const cListHost&) = delete;
  cListHost& operator=(const cListHost&) = delete;

  ZListBox& List() noexcept { return m_List; }
  HWND hwnd() const noexcept { return m_hWnd; }

 private:
  HWND m_hWnd = nullptr;  // owned; destroying it takes the list's window with it
  cGdiObject<HFONT> m_Font;
  ZListBox m_List;
};
