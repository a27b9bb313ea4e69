#pragma once
// A file's last-write time as tests set and read it on Windows, in FILETIME's 100 ns ticks.
#include <cstdint>
#include <string>

namespace mFileTimes {

// Sets it as a program that edits a file in place without changing its length would leave it.
void SetWriteTime(const std::wstring& path, std::uint64_t ticks);
// Throws std::runtime_error when the file cannot be asked.
std::uint64_t WriteTime(const std::wstring& path);

}  // namespace mFileTimes
