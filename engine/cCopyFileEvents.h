#pragma once
// The listener of a cCopyFile: its owner, called synchronously from inside CopyFile.
#include <cstdint>

class cCopyFileEvents {
 public:
  // After every chunk: bytes written so far in this copy, and the source's measured length.
  virtual void CopyProgress(std::int64_t CopyBytes, std::int64_t AllBytes) = 0;
  // Once, after both files are closed, with the measured length.
  virtual void CopyComplete(std::int64_t AllBytes) = 0;
  // Between the pieces of the long wait after the last chunk, while the copy is read back from
  // its device: the listener may look at its messages, and a CopyStop from here still keeps an
  // older backup.
  virtual void CopyWaiting() {}

 protected:
  ~cCopyFileEvents() = default;
};
