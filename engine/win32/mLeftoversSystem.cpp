// Removing leftover temporary files with the Win32 file and process functions.
#include <windows.h>

#include "../mFileHlp.h"
#include "../mLeftovers.h"
#include "mLongPath.h"

namespace mLeftovers {
namespace {

bool IsRunning(DWORD process) {
  if (process == GetCurrentProcessId()) return true;
  HANDLE handle = OpenProcess(SYNCHRONIZE, FALSE, process);
  // Refused access means a process of someone else's runs under that id.
  if (!handle) return GetLastError() == ERROR_ACCESS_DENIED;
  const bool running = WaitForSingleObject(handle, 0) == WAIT_TIMEOUT;
  CloseHandle(handle);
  return running;
}

}  // namespace

bool RemoveIfOrphaned(const std::wstring& folder, const std::wstring& name) {
  const auto owner = OwnerOf(name);
  if (!owner || IsRunning(*owner)) return false;
  const std::wstring path = mLongPath::ForSystem(mFileHlp::AddBackslash(folder) + name);
  // A copy of a read-only source that ended between taking its attributes and its rename
  // leaves a read-only file, which Windows removes only once it is writable.
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  if (attributes & FILE_ATTRIBUTE_READONLY)
    SetFileAttributesW(path.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  return DeleteFileW(path.c_str()) != FALSE;
}

}  // namespace mLeftovers
