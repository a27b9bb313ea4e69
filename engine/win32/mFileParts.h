#pragma once
// The system hands 64-bit sizes and times over in two 32-bit halves.
#include <windows.h>

#include <cstdint>

namespace mFileParts {

inline std::uint64_t Join(DWORD high, DWORD low) { return (static_cast<std::uint64_t>(high) << 32) | low; }
// A FILETIME as 100 ns ticks.
inline std::uint64_t Ticks(const FILETIME& time) { return Join(time.dwHighDateTime, time.dwLowDateTime); }
// 100 ns ticks as a FILETIME.
inline FILETIME FileTime(std::uint64_t ticks) {
  return FILETIME{static_cast<DWORD>(ticks & 0xFFFFFFFFu), static_cast<DWORD>(ticks >> 32)};
}

}  // namespace mFileParts
