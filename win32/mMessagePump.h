#pragma once
// Dispatching the calling thread's pending messages without waiting for more: for a backup run
// that blocks the window's thread, and for code that hosts a window and needs its painting and
// notifications delivered (tests, benchmarks).
#include <windows.h>

#include <functional>

namespace mMessagePump {

enum class Mode {
  // Inside the program's loop during a run: everything is dispatched, keys through the dialog
  // navigation of the window given (so that Esc and Tab work as in the loop), and a WM_QUIT is
  // left for the loop. The window itself disables what must not act during the run.
  Run,
  // A window hosted without the program's loop: everything is dispatched, and a WM_QUIT left
  // by a destroyed window is dropped so that it cannot cut short the next window's pumping.
  Host,
};

void DispatchPending(Mode mode = Mode::Host, HWND dialog = nullptr);
// Waits up to `milliseconds` for a message to arrive, then dispatches what is pending as
// DispatchPending does: for a wait on the window's thread that must go on answering.
void WaitAndDispatch(DWORD milliseconds, Mode mode = Mode::Host, HWND dialog = nullptr);

// The program's message loop, until WM_QUIT, whose code it answers. Dialog navigation gives
// `dialog` its tab order without its being a dialog; `afterEach` runs after every message.
int RunLoop(HWND dialog, const std::function<void()>& afterEach);

// Drops the mouse and keyboard input still queued.
void DiscardInput();

}  // namespace mMessagePump
