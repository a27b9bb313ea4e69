#pragma once
// Peak memory of this process (working set on Windows, resident set elsewhere), in bytes.
#include <cstdint>

class cMemoryMeter {
 public:
  static std::uint64_t PeakBytes();
};
