#include "cMemoryMeter.h"

#ifdef _WIN32
#include <windows.h>
#include <psapi.h>

std::uint64_t cMemoryMeter::PeakBytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
  return counters.PeakWorkingSetSize;
}
#else
#include <sys/resource.h>

std::uint64_t cMemoryMeter::PeakBytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<std::uint64_t>(usage.ru_maxrss) * 1024;  // Linux reports KiB
}
#endif
