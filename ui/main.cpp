// The process's entry: creates and shows the backup window and runs its message loop.
#include <windows.h>

#include "cComInit.h"
#include "cBackupWindow.h"
#include "mUserMessage.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  try {
    // The shell's dialogs want a single-threaded apartment on the window's thread.
    cComInit com(L"start the program");
    cBackupWindow window(instance);
    window.Show(showCommand);
    return window.RunMessageLoop();
  } catch (...) {
    // The one message for a program that could not start: the window never showed one.
    const std::wstring text = mUserMessage::For(L"启动程序", std::current_exception());
    MessageBoxW(nullptr, text.c_str(), mUserMessage::Title().c_str(), MB_OK | MB_ICONERROR);
    return 1;
  }
}
