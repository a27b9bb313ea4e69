#pragma once
// The listener of a cCopyFile: its owner, called synchronously from inside CopyFile.
#include <cstdint>

class cCopyFileEvents {
 public:
  // After every chunk: bytes written so far in this copy, and the source's measured length.
  virtual void CopyProgress(std::int64_t CopyBytes, std::int64_t AllBytes) = 0;
  // Once, after both files are closed, with the measured length.
  virtual void CopyComplete(std::int64_t AllBytes) = 0;

 protected:
  ~cCopyFileEvents() = default;
};
