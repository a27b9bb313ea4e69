// The process's entry: reads the command line, creates and shows the backup window and runs its
// message loop. An unattended run (/backup) shows the window minimized, asks nothing, and
// answers how it went as the process's exit code.
#include <windows.h>

#include "cComInit.h"
#include "cBackupWindow.h"
#include "mCommandLine.h"
#include "mExitCode.h"
#include "mProgramArguments.h"
#include "mUserMessage.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  mCommandLine::Request request;
  try {
    request = mCommandLine::Parse(mProgramArguments::Get());
    if (request.mode == mCommandLine::Request::Mode::Bad) {
      MessageBoxW(nullptr, mCommandLine::Usage().c_str(), mUserMessage::Title().c_str(), MB_OK | MB_ICONWARNING);
      return mExitCode::kNothingDone;
    }
    // The shell's dialogs want a single-threaded apartment on the window's thread.
    cComInit com(L"start the program");
    cBackupWindow window(instance, request);
    window.Show(request.Unattended() ? SW_SHOWMINNOACTIVE : showCommand);
    return window.RunMessageLoop();
  } catch (...) {
    // The one message for a program that could not start: the window never showed one. An
    // unattended run has no one to read it, and its code says enough.
    if (request.Unattended()) return mExitCode::kNothingDone;
    const std::wstring text = mUserMessage::For(L"启动程序", std::current_exception());
    MessageBoxW(nullptr, text.c_str(), mUserMessage::Title().c_str(), MB_OK | MB_ICONERROR);
    return 1;
  }
}
