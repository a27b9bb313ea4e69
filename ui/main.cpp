// The process's entry: reads the command line, creates and shows the backup window and runs its
// message loop. An unattended run (/backup) shows the window minimized, asks nothing, and
// answers how it went as the process's exit code; what keeps it from running is said in its log,
// never in a box that would wait for someone to close it.
#include <windows.h>

#include <chrono>

#include "cComInit.h"
#include "cBackupWindow.h"
#include "cMessageBox.h"
#include "cOneWindow.h"
#include "cRunLog.h"
#include "mAppFolders.h"
#include "mCommandLine.h"
#include "mExitCode.h"
#include "mProgramArguments.h"
#include "mTimedMessageBox.h"
#include "mUserMessage.h"

namespace {

// The usage for a command line of another program's kind, typed by hand or by mistake into a
// scheduled task: it closes by itself, so that the task ends all the same.
constexpr std::chrono::seconds kUsageShown{30};

int ShowUsage() {
  const std::wstring text = mCommandLine::Usage() + L"\n\n此窗口 " + std::to_wstring(kUsageShown.count()) + L" 秒后自动关闭。";
  mTimedMessageBox::Show(nullptr, text, cMessageBox::Title(), MB_OK | MB_ICONWARNING, kUsageShown);
  return mExitCode::kNothingDone;
}

// An unattended run that cannot begin: the log is all it leaves. One that cannot be written has
// no one else to tell; the exit code still says that nothing was done.
int NotRun(const std::wstring& destination, const std::wstring& reason) {
  try {
    const auto now = cRunLog::Clock::now();
    cRunLog(mAppFolders::Logs(), destination, now).WriteNotRun(reason, now);
  } catch (...) {
  }
  return mExitCode::kNothingDone;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  mCommandLine::Request request;
  try {
    request = mCommandLine::Parse(mProgramArguments::Get());
    // No box of the system's may wait for an answer either: a drive without its medium fails the
    // call instead of asking for a disk, and unattended, a crash ends the process instead of
    // waiting on the error-report box.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX | (request.Unattended() ? SEM_NOGPFAULTERRORBOX : 0u));
    if (request.mode == mCommandLine::Request::Mode::Bad) return ShowUsage();
    if (request.mode == mCommandLine::Request::Mode::BadBackup)
      return NotRun({}, L"命令行参数错误：" + request.problem + L"\n命令行：" + GetCommandLineW() + L"\n\n" + mCommandLine::Usage());
    const cOneWindow one(mAppFolders::Roaming() + L"\\job.json");
    if (request.mode == mCommandLine::Request::Mode::Window && !one.IsFirst()) {
      one.CallFirst();
      return 0;
    }
    // The shell's dialogs want a single-threaded apartment on the window's thread.
    cComInit com(L"start the program");
    cBackupWindow window(instance, request, &one);
    window.Show(request.Unattended() ? SW_SHOWMINNOACTIVE : showCommand);
    return window.RunMessageLoop();
  } catch (...) {
    // The one message for a program that could not start: the window never showed one.
    const std::wstring text = mUserMessage::For(L"启动程序", std::current_exception());
    if (request.Unattended()) return NotRun(request.destination, text);
    cMessageBox(nullptr, false).Show(text, MB_OK | MB_ICONERROR);
    return 1;
  }
}
