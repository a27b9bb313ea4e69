// Finding and removing leftover temporary files with the Win32 file and process functions.
#include <windows.h>

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

std::wstring WithSeparator(const std::wstring& folder) {
  return folder.empty() || folder.back() == L'\\' || folder.back() == L'/' ? folder : folder + L'\\';
}

class cFind {
 public:
  explicit cFind(const std::wstring& pattern)
      : m_Handle(FindFirstFileW(mLongPath::ForSystem(pattern).c_str(), &m_Data)) {}
  ~cFind() {
    if (m_Handle != INVALID_HANDLE_VALUE) FindClose(m_Handle);
  }
  cFind(const cFind&) = delete;
  cFind& operator=(const cFind&) = delete;

  const WIN32_FIND_DATAW* Current() const { return m_Handle != INVALID_HANDLE_VALUE ? &m_Data : nullptr; }
  bool Next() { return FindNextFileW(m_Handle, &m_Data) != FALSE; }

 private:
  WIN32_FIND_DATAW m_Data{};
  HANDLE m_Handle;
};

}  // namespace

int RemoveIn(const std::wstring& folder) {
  const std::wstring base = WithSeparator(folder);
  cFind find(base + L"~omb*.tmp");
  if (!find.Current()) return 0;
  int removed = 0;
  do {
    const WIN32_FIND_DATAW& found = *find.Current();
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const auto owner = OwnerOf(found.cFileName);
    if (!owner || IsRunning(*owner)) continue;
    const std::wstring path = mLongPath::ForSystem(base + found.cFileName);
    // A copy of a read-only source that ended between taking its attributes and its rename
    // leaves a read-only file, which Windows removes only once it is writable.
    if (found.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
      SetFileAttributesW(path.c_str(), found.dwFileAttributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    if (DeleteFileW(path.c_str())) ++removed;
  } while (find.Next());
  return removed;
}

}  // namespace mLeftovers
