#include "../cFolderLock.h"

#include <windows.h>

#include <utility>

#include "../mFileHlp.h"
#include "mLongPath.h"

struct cFolderLock::Held {
  explicit Held(HANDLE held) : file(held) {}
  ~Held() { CloseHandle(file); }
  Held(const Held&) = delete;
  Held& operator=(const Held&) = delete;
  HANDLE file;
};

std::optional<cFolderLock> cFolderLock::TryTake(const std::wstring& folder, Attempt& attempt) {
  const std::wstring path = mFileHlp::AddBackslash(folder) + kFileName;
  // No sharing: every other open fails while it is held. Deleted once the last handle goes,
  // also when the process is ended.
  HANDLE file = CreateFileW(mLongPath::ForSystem(path).c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    attempt = Attempt::Taken;
    return cFolderLock(std::make_unique<Held>(file));
  }
  attempt = GetLastError() == ERROR_SHARING_VIOLATION ? Attempt::Busy : Attempt::NoFolder;
  return std::nullopt;
}

cFolderLock::cFolderLock(std::unique_ptr<Held> held) : m_Held(std::move(held)) {}
cFolderLock::cFolderLock(cFolderLock&& other) noexcept = default;
cFolderLock& cFolderLock::operator=(cFolderLock&& other) noexcept = default;
cFolderLock::~cFolderLock() = default;
