#include "cRunPlan.h"

#include <windows.h>

#include "cFileError.h"
#include "mFileHlp.h"
#include "mFileSys.h"
#include "mWindowsNames.h"
#include "win32/mLongPath.h"

namespace {

struct Found {
  std::wstring name;
  DWORD attributes;
  cRunPlan::Stamp stamp;
};

std::uint64_t Ticks(const FILETIME& time) {
  return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

class cFindHandle {
 public:
  explicit cFindHandle(HANDLE handle) : m_Handle(handle) {}
  ~cFindHandle() {
    if (m_Handle != INVALID_HANDLE_VALUE) FindClose(m_Handle);
  }
  cFindHandle(const cFindHandle&) = delete;
  cFindHandle& operator=(const cFindHandle&) = delete;
  HANDLE Get() const { return m_Handle; }

 private:
  HANDLE m_Handle;
};

// What a folder (path ending in a backslash) holds, without "." and "..".
std::vector<Found> ListFolder(const std::wstring& folder) {
  WIN32_FIND_DATAW data{};
  const cFindHandle find(FindFirstFileExW(mLongPath::ForSystem(folder + L"*").c_str(), FindExInfoBasic, &data,
                                          FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
  std::vector<Found> found;
  if (find.Get() == INVALID_HANDLE_VALUE) {
    if (GetLastError() == ERROR_FILE_NOT_FOUND) return found;  // a drive root with nothing on it
    throw cFileError::FromLastError(L"FindFirstFileExW", folder);
  }
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    const auto bytes = static_cast<std::int64_t>((static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
    found.push_back({name, data.dwFileAttributes, {bytes, Ticks(data.ftLastWriteTime)}});
  } while (FindNextFileW(find.Get(), &data));
  if (GetLastError() != ERROR_NO_MORE_FILES) throw cFileError::FromLastError(L"FindNextFileW", folder);
  return found;
}

// The system's own folders at the top of a drive: nobody backs them up, and reading them is refused.
bool IsDriveSystemFolder(const Found& item) {
  const DWORD both = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  return (item.attributes & both) == both &&
         (lstrcmpiW(item.name.c_str(), L"System Volume Information") == 0 ||
          lstrcmpiW(item.name.c_str(), L"$RECYCLE.BIN") == 0);
}

bool StampOf(const std::wstring& path, WIN32_FILE_ATTRIBUTE_DATA& data) {
  return GetFileAttributesExW(mLongPath::ForSystem(path).c_str(), GetFileExInfoStandard, &data) != FALSE;
}

}  // namespace

cRunPlan::cRunPlan(const cBackupList& list, const std::vector<std::size_t>& order, const std::wstring& folder) {
  const std::wstring base = mFileHlp::AddBackslash(folder);
  for (const std::size_t entry : order) {
    const std::wstring destination = base + list.DestinationName(entry);
    if (list.IsFolder(entry))
      AddFolder(entry, list.Source(entry), destination, true);
    else
      AddFile(entry, list.Source(entry), destination);
    m_Steps.back().lastOfEntry = true;
  }
}

void cRunPlan::AddFile(std::size_t entry, const std::wstring& source, const std::wstring& destination) {
  std::int64_t bytes = 0;
  try {
    bytes = mFileSys::FileLength(source);
  } catch (const cFileError&) {
    // Counted as empty in the run's progress; its copy reports why it cannot be read.
  }
  AddCopy(entry, source, destination, bytes);
}

void cRunPlan::AddCopy(std::size_t entry, const std::wstring& source, const std::wstring& destination,
                       std::int64_t bytes) {
  m_Steps.push_back({entry, Kind::Copy, source, destination, bytes, nullptr, false, BackupOf(destination)});
  ++m_Files;
  m_Bytes += bytes;
}

std::optional<cRunPlan::Stamp> cRunPlan::BackupOf(const std::wstring& destination) {
  const auto cut = destination.find_last_of(L'\\');
  const std::wstring folder = destination.substr(0, cut + 1);
  auto [place, added] = m_Existing.try_emplace(mWindowsNames::Folded(folder));
  if (added) {
    try {
      for (const Found& item : ListFolder(folder))
        if (!(item.attributes & FILE_ATTRIBUTE_DIRECTORY)) place->second.emplace(mWindowsNames::Folded(item.name), item.stamp);
    } catch (const cFileError&) {
      // No such folder yet, or one that cannot be read: the copies into it find out which.
    }
  }
  const auto found = place->second.find(mWindowsNames::Folded(destination.substr(cut + 1)));
  if (found == place->second.end()) return std::nullopt;
  return found->second;
}

void cRunPlan::AddFolder(std::size_t entry, const std::wstring& source, const std::wstring& destination, bool root) {
  m_Steps.push_back({entry, Kind::CreateFolder, source, destination, 0, nullptr, false, std::nullopt});
  std::vector<Found> items;
  try {
    items = ListFolder(source);
  } catch (const cFileError&) {
    m_Steps.push_back({entry, Kind::Fail, source, destination, 0, std::current_exception(), false, std::nullopt});
    return;
  }
  for (const Found& item : items) {
    // Junctions and symbolic links lead elsewhere, maybe back up the tree: not followed.
    if (item.attributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;
    if (root && mBackupNames::IsFolder(source) && source.size() <= 3 && IsDriveSystemFolder(item)) continue;
    if (item.attributes & FILE_ATTRIBUTE_DIRECTORY) {
      AddFolder(entry, source + item.name + L"\\", destination + L"\\" + item.name, false);
    } else {
      AddCopy(entry, source + item.name, destination + L"\\" + item.name, item.stamp.bytes);
    }
  }
}

bool cRunPlan::Unchanged(const Step& step) {
  WIN32_FILE_ATTRIBUTE_DATA source{};
  if (!step.backup || !StampOf(step.source, source)) return false;
  const auto bytes = static_cast<std::int64_t>((static_cast<std::uint64_t>(source.nFileSizeHigh) << 32) | source.nFileSizeLow);
  return bytes == step.backup->bytes && Ticks(source.ftLastWriteTime) == step.backup->written;
}

void cRunPlan::CreateFolder(const Step& step) {
  const std::wstring path = mLongPath::ForSystem(step.destination);
  if (CreateDirectoryW(path.c_str(), nullptr)) return;
  const DWORD error = GetLastError();
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (error == ERROR_ALREADY_EXISTS && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return;
  SetLastError(error);
  throw cFileError::FromLastError(L"CreateDirectoryW", step.destination);
}
