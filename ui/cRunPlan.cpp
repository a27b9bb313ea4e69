#include "cRunPlan.h"

#include <windows.h>

#include <algorithm>

#include "cFileError.h"
#include "cGivenNames.h"
#include "mFileHlp.h"
#include "mFileSys.h"
#include "mFolderWalk.h"
#include "mLeftovers.h"
#include "win32/mLongPath.h"

namespace {

struct Found {
  std::wstring name;
  DWORD attributes;
  DWORD reparseTag;
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

// What a folder (path ending in a backslash) holds, without "." and "..", by name.
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
    // dwReserved0 holds the reparse tag of a reparse point.
    found.push_back({name, data.dwFileAttributes, data.dwReserved0, {bytes, Ticks(data.ftLastWriteTime)}});
  } while (FindNextFileW(find.Get(), &data));
  if (GetLastError() != ERROR_NO_MORE_FILES) throw cFileError::FromLastError(L"FindNextFileW", folder);
  // The same order on every run, so that names alike but for case are numbered alike each time.
  std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) { return a.name < b.name; });
  return found;
}

bool StampOf(const std::wstring& path, WIN32_FILE_ATTRIBUTE_DATA& data) {
  return GetFileAttributesExW(mLongPath::ForSystem(path).c_str(), GetFileExInfoStandard, &data) != FALSE;
}

cRunPlan::Step NewStep(std::size_t entry, cRunPlan::Kind kind, const std::wstring& source, const std::wstring& destination) {
  cRunPlan::Step step{};
  step.entry = entry;
  step.kind = kind;
  step.source = source;
  step.destination = destination;
  return step;
}

// "E:\\" for a path on drive E:, else the root of the volume the system finds for it.
std::wstring VolumeRoot(const std::wstring& path) {
  if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') return path.substr(0, 3);
  wchar_t root[MAX_PATH + 1] = {};
  if (!GetVolumePathNameW(path.c_str(), root, MAX_PATH + 1)) return {};
  return root;
}

}  // namespace

cRunPlan::cRunPlan(const cBackupList& list, const std::vector<std::size_t>& order, const std::wstring& folder)
    : m_Guard(list.Sources(), mFileHlp::AddBackslash(folder), list.Fold()), m_Fold(list.Fold()) {
  const std::wstring base = mFileHlp::AddBackslash(folder);
  const std::wstring& backupFileSystem = FileSystemOf(base);
  for (const std::size_t entry : order) {
    const std::wstring& source = list.Source(entry);
    const Context context{entry, source, mBackupTimes::Between(FileSystemOf(source), backupFileSystem)};
    const std::wstring destination = base + list.DestinationName(entry);
    if (list.IsFolder(entry))
      AddFolder(context, source, destination);
    else
      AddFile(context, source, destination);
    m_Steps.back().lastOfEntry = true;
  }
}

const std::wstring& cRunPlan::FileSystemOf(const std::wstring& path) {
  const std::wstring root = VolumeRoot(path);
  auto [place, added] = m_FileSystems.try_emplace(m_Fold(root));
  if (added && !root.empty()) {
    wchar_t name[MAX_PATH + 1] = {};
    // One that cannot be asked compares to the finest resolution: a backup may be copied again.
    if (GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, nullptr, nullptr, name, MAX_PATH + 1)) place->second = name;
  }
  return place->second;
}

// A write that would land on a listed source becomes a step that fails with the reason.
bool cRunPlan::Refused(const Context& entry, const std::wstring& source, const std::wstring& destination) {
  const cSourceGuard::Refusal refusal = m_Guard.Check(entry.root, destination);
  if (refusal == cSourceGuard::Refusal::None) return false;
  Step step = NewStep(entry.entry, Kind::Refuse, source, destination);
  step.refusal = refusal;
  m_Steps.push_back(std::move(step));
  return true;
}

void cRunPlan::AddFile(const Context& entry, const std::wstring& source, const std::wstring& destination) {
  if (Refused(entry, source, destination)) return;
  std::int64_t bytes = 0;
  try {
    bytes = mFileSys::FileLength(source);
  } catch (const cFileError&) {
    // Counted as empty in the run's progress; its copy reports why it cannot be read.
  }
  AddCopy(entry, source, destination, bytes);
}

void cRunPlan::AddCopy(const Context& entry, const std::wstring& source, const std::wstring& destination,
                       std::int64_t bytes) {
  Step step = NewStep(entry.entry, Kind::Copy, source, destination);
  step.bytes = bytes;
  step.backup = BackupOf(destination);
  step.times = entry.times;
  m_Steps.push_back(std::move(step));
  ++m_Files;
  m_Bytes += bytes;
}

// Lists each destination folder once, for the stamps of the backups in it; the temporary files
// of copies whose process was ended there go at the same time.
std::optional<cRunPlan::Stamp> cRunPlan::BackupOf(const std::wstring& destination) {
  const auto cut = destination.find_last_of(L'\\');
  const std::wstring folder = destination.substr(0, cut + 1);
  auto [place, added] = m_Existing.try_emplace(m_Fold(folder));
  if (added) {
    try {
      for (const Found& item : ListFolder(folder)) {
        if (item.attributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        if (mLeftovers::OwnerOf(item.name) && mLeftovers::RemoveIfOrphaned(folder, item.name)) continue;
        place->second.emplace(m_Fold(item.name), item.stamp);
      }
    } catch (const cFileError&) {
      // No such folder yet, or one that cannot be read: the copies into it find out which.
    }
  }
  const auto found = place->second.find(m_Fold(destination.substr(cut + 1)));
  if (found == place->second.end()) return std::nullopt;
  return found->second;
}

void cRunPlan::AddFolder(const Context& entry, const std::wstring& source, const std::wstring& destination) {
  if (m_Guard.IsDestination(source)) {
    Step step = NewStep(entry.entry, Kind::Refuse, source, destination);
    step.refusal = cSourceGuard::Refusal::DestinationIsFolder;
    m_Steps.push_back(std::move(step));
    return;
  }
  AddWalk(entry, source, destination);
}

void cRunPlan::AddWalk(const Context& entry, const std::wstring& source, const std::wstring& destination) {
  if (Refused(entry, source, destination)) return;
  m_Steps.push_back(NewStep(entry.entry, Kind::CreateFolder, source, destination));
  std::vector<Found> items;
  try {
    items = ListFolder(source);
  } catch (const cFileError&) {
    m_Steps.push_back(NewStep(entry.entry, Kind::Fail, source, destination));
    m_Steps.back().failure = std::current_exception();
    return;
  }
  const bool driveRoot = source.size() <= 3;
  std::vector<std::pair<const Found*, mFolderWalk::Item>> kept;
  for (const Found& item : items) {
    const auto kind = mFolderWalk::Classify(item.attributes, item.reparseTag);
    if (kind == mFolderWalk::Item::Link) {
      m_Links.push_back(source + item.name);
    } else if (!(driveRoot && mFolderWalk::IsDriveSystemFolder(item.name, item.attributes)) &&
               !(kind == mFolderWalk::Item::Folder && m_Guard.IsDestination(source + item.name))) {
      kept.emplace_back(&item, kind);
    }
  }
  // Names that differ only in case (a case-sensitive folder) would be one file in the backup.
  cGivenNames names(m_Fold);
  for (const auto& [item, kind] : kept) names.Reserve(item->name);
  for (const auto& [item, kind] : kept) {
    const bool folder = kind == mFolderWalk::Item::Folder;
    const std::wstring target = destination + L"\\" + names.Give(item->name, folder);
    if (folder)
      AddWalk(entry, source + item->name + L"\\", target);
    else if (!Refused(entry, source + item->name, target))
      AddCopy(entry, source + item->name, target, item->stamp.bytes);
  }
}

bool cRunPlan::Unchanged(const Step& step) {
  WIN32_FILE_ATTRIBUTE_DATA source{};
  if (!step.backup || !StampOf(step.source, source)) return false;
  const auto bytes = static_cast<std::int64_t>((static_cast<std::uint64_t>(source.nFileSizeHigh) << 32) | source.nFileSizeLow);
  return mBackupTimes::Unchanged({bytes, Ticks(source.ftLastWriteTime)}, *step.backup, step.times);
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
