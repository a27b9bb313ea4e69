#pragma once
// Hands a drop (WM_DROPFILES) back to the shell once its paths are read, on every path out.
#include <windows.h>
#include <shellapi.h>

class cDropFinish {
 public:
  explicit cDropFinish(HDROP drop) noexcept : m_Drop(drop) {}
  ~cDropFinish() { DragFinish(m_Drop); }
  cDropFinish(const cDropFinish&) = delete;
  cDropFinish& operator=(const cDropFinish&) = delete;

 private:
  HDROP m_Drop;  // owned until DragFinish
};
