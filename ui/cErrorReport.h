#pragma once
// How the window says an error: one Chinese message about what it was doing, never one on top of
// another (a repaint behind the message, say, may fail again); with no one to answer, the error
// goes to whatever ends an unattended run instead.
#include <exception>
#include <functional>
#include <string>

#include "cMessageBox.h"

class cErrorReport {
 public:
  // `box`: the window's message box as it is now. `unattended`: takes the message of an error
  // when the box is an unattended one.
  cErrorReport(std::function<cMessageBox()> box, std::function<void(const std::wstring&)> unattended);

  // Runs `work`; what it throws is said as one message about `action` ("选择文件", ...).
  void Try(const wchar_t* action, const std::function<void()>& work);
  void Report(const wchar_t* action, const std::exception_ptr& error);
  // What the controls' handlers threw and kept for the window, said now.
  void TakeParked(const wchar_t* action);

 private:
  std::function<cMessageBox()> m_Box;
  std::function<void(const std::wstring&)> m_Unattended;
  bool m_Reporting = false;  // a message box for an error is up
};
