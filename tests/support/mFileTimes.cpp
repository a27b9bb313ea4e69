#include "mFileTimes.h"

#include <windows.h>

#include <stdexcept>

#include "mText.h"

namespace mFileTimes {
namespace {

[[noreturn]] void Fail(const char* what, const std::wstring& path) {
  throw std::runtime_error(std::string(what) + " " + mText::ToUtf8(path) + ": error " + std::to_string(GetLastError()));
}

}  // namespace

void SetWriteTime(const std::wstring& path, std::uint64_t ticks) {
  HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) Fail("cannot open", path);
  const FILETIME time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  const bool set = SetFileTime(file, nullptr, nullptr, &time) != FALSE;
  CloseHandle(file);
  if (!set) Fail("cannot set the time of", path);
}

std::uint64_t WriteTime(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) Fail("cannot read the time of", path);
  return (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

}  // namespace mFileTimes
