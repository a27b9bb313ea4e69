#pragma once
// A message box that closes by itself when no one answers it in time, for what a program
// started by Task Scheduler or a script may have to say: there may be no one to press OK, and
// a box left open would keep the program, and every later run of its task, waiting.
#include <windows.h>

#include <chrono>
#include <string>

namespace mTimedMessageBox {

// MessageBoxW with an OK button (`flags` of type MB_OK); past `timeout` the box is closed as if
// OK were pressed. Answers the box's result (IDOK, or 0 when it could not be shown).
int Show(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags, std::chrono::milliseconds timeout);

}  // namespace mTimedMessageBox
