#pragma once
// Message handling for the benchmark's windows, which live on its main thread.

namespace mWindowPump {

// Dispatches every message waiting for this thread, painting included. A WM_QUIT left by a
// destroyed window is taken and dropped, so that it cannot cut short the next window's pump.
void DispatchPending();

}  // namespace mWindowPump
