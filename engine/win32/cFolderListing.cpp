#include "../cFolderListing.h"

#include <windows.h>

#include <utility>

#include "../cFileError.h"
#include "mFileParts.h"
#include "mLongPath.h"

namespace {

bool IsDots(const wchar_t* name) { return name[0] == L'.' && (!name[1] || (name[1] == L'.' && !name[2])); }

cFolderListing::Item ItemOf(const WIN32_FIND_DATAW& data) {
  // dwReserved0 holds the reparse tag of a reparse point.
  return {data.cFileName, data.dwFileAttributes, data.dwReserved0,
          static_cast<std::int64_t>(mFileParts::Join(data.nFileSizeHigh, data.nFileSizeLow)),
          mFileParts::Ticks(data.ftLastWriteTime)};
}

}  // namespace

cFolderListing::cFolderListing(const std::wstring& folder)
    : m_Folder(folder.empty() || folder.back() == L'\\' ? folder : folder + L'\\'), m_Handle(INVALID_HANDLE_VALUE) {
  WIN32_FIND_DATAW data{};
  m_Handle = FindFirstFileExW(mLongPath::ForSystem(m_Folder + L"*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                              nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (m_Handle == INVALID_HANDLE_VALUE) {
    if (GetLastError() == ERROR_FILE_NOT_FOUND) return;  // a drive root with nothing on it
    throw cFileError::FromLastError(L"FindFirstFileExW", m_Folder);
  }
  if (!IsDots(data.cFileName)) m_First = ItemOf(data);
}

cFolderListing::~cFolderListing() {
  if (m_Handle != INVALID_HANDLE_VALUE) FindClose(m_Handle);
}

std::optional<cFolderListing::Item> cFolderListing::Next() {
  if (m_First) return std::exchange(m_First, std::nullopt);
  if (m_Handle == INVALID_HANDLE_VALUE) return std::nullopt;
  WIN32_FIND_DATAW data{};
  do {
    if (!FindNextFileW(m_Handle, &data)) {
      if (GetLastError() != ERROR_NO_MORE_FILES) throw cFileError::FromLastError(L"FindNextFileW", m_Folder);
      FindClose(std::exchange(m_Handle, INVALID_HANDLE_VALUE));
      return std::nullopt;
    }
  } while (IsDots(data.cFileName));
  return ItemOf(data);
}
