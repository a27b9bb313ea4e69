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
  // A folder of that name is not removed: DeleteFileW takes files only.
  return DeleteFileW(mLongPath::ForSystem(mFileHlp::AddBackslash(folder) + name).c_str()) != FALSE;
}

}  // namespace mLeftovers
