// The process's entry: creates and shows the backup window and runs its message loop.
#include <windows.h>

#include "ControlIds.h"
#include "cBackupWindow.h"
#include "cComInit.h"
#include "mText.h"

namespace {

int RunMessageLoop(HWND window) {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    // Dialog navigation gives the window its tab order without being a dialog.
    if (IsWindow(window) && IsDialogMessageW(window, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  try {
    cComInit com;
    cBackupWindow window(instance);
    window.Show(showCommand);
    return RunMessageLoop(window.hwnd());
  } catch (const std::exception& error) {
    MessageBoxW(nullptr, mText::FromUtf8(error.what()).c_str(), kAppTitle, MB_OK | MB_ICONERROR);
    return 1;
  }
}
