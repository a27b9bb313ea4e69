#pragma once
// Pumping for code that hosts a window without the program's loop.
#include <windows.h>

namespace mHostPump {

// Dispatches what is waiting, then goes on waiting and dispatching until `milliseconds`
// passed: Wine delivers some painting and notifications asynchronously.
void DispatchFor(DWORD milliseconds = 0);

}  // namespace mHostPump
