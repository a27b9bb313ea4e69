#pragma once
// Records the events a cCopyFile raises; optional actions run inside every progress event and
// every wait while a copy is read back.
#include <cstdint>
#include <functional>
#include <vector>

#include "cCopyFileEvents.h"

struct CopyEvent {
  enum Kind { Progress, Complete } kind;
  std::int64_t copyBytes;  // Progress only
  std::int64_t allBytes;
  bool operator==(const CopyEvent&) const = default;
};

inline CopyEvent Progress(std::int64_t copy, std::int64_t all) {
  return {CopyEvent::Progress, copy, all};
}
inline CopyEvent Complete(std::int64_t all) { return {CopyEvent::Complete, 0, all}; }

class CopyRecorder : public cCopyFileEvents {
 public:
  void CopyProgress(std::int64_t CopyBytes, std::int64_t AllBytes) override {
    events.push_back(Progress(CopyBytes, AllBytes));
    if (onProgress) onProgress(CopyBytes);
  }
  void CopyComplete(std::int64_t AllBytes) override { events.push_back(Complete(AllBytes)); }
  void CopyWaiting() override {
    ++waits;
    if (onWaiting) onWaiting();
  }

  std::vector<CopyEvent> events;
  std::function<void(std::int64_t)> onProgress;
  int waits = 0;  // while copies were read back
  std::function<void()> onWaiting;
};

inline std::ostream& operator<<(std::ostream& out, const CopyEvent& e) {
  if (e.kind == CopyEvent::Progress) return out << "Progress(" << e.copyBytes << ", " << e.allBytes << ")";
  return out << "Complete(" << e.allBytes << ")";
}
