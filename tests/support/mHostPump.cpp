#include "mHostPump.h"

#include "mMessagePump.h"

namespace mHostPump {

void DispatchFor(DWORD milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  for (;;) {
    mMessagePump::DispatchPending(mMessagePump::Mode::Host);
    const ULONGLONG now = GetTickCount64();
    if (now >= end) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
  }
}

}  // namespace mHostPump
