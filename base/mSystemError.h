#pragma once
// The system's own words for an error code, for every part of the program that meets one.
#include <cstdint>
#include <string>

namespace mSystemError {

// The calling thread's last error (GetLastError, or errno elsewhere).
std::uint32_t LastCode();
// The system's text for the code on one line without the final full stop: FormatMessageW's
// for a Win32 error or an HRESULT, strerror's elsewhere; "error <code>" where the system has
// no text for it.
std::wstring Text(std::uint32_t code);
// The code says that a file, or a folder on its path, is not there.
bool IsNotFound(std::uint32_t code);

}  // namespace mSystemError
