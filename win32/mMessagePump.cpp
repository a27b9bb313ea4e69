#include "mMessagePump.h"

namespace mMessagePump {
void DispatchPending(Mode mode, HWND dialog) {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      if (mode == Mode::Host) continue;
      PostQuitMessage(static_cast<int>(msg.wParam));  // leave it for the main loop
      return;
    }
    if (dialog && IsDialogMessageW(dialog, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void WaitAndDispatch(DWORD milliseconds, Mode mode, HWND dialog) {
  MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds, QS_ALLINPUT);
  DispatchPending(mode, dialog);
}

void DiscardInput() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
  }
  while (PeekMessageW(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
  }
  while (PeekMessageW(&msg, nullptr, WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK, PM_REMOVE)) {
  }
}

int RunLoop(HWND dialog, const std::function<void()>& afterEach) {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (!(dialog && IsDialogMessageW(dialog, &msg))) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    afterEach();
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace mMessagePump
