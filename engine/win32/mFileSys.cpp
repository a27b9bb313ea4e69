#include "../mFileSys.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <malloc.h>
#include <memory>

#include "../cFileError.h"
#include "../mLeftovers.h"
#include "mFileParts.h"
#include "mLongPath.h"
#include "mSystemError.h"

namespace mFileSys {
namespace {
void ThrowError(const std::wstring& call, const std::wstring& path, DWORD code);
}

std::int64_t FileLength(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(mLongPath::ForSystem(path).c_str(), GetFileExInfoStandard, &data))
    throw cFileError::FromLastError(L"GetFileAttributesExW", path);
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
    ThrowError(L"GetFileAttributesExW", path, ERROR_ACCESS_DENIED);
  return static_cast<std::int64_t>(mFileParts::Join(data.nFileSizeHigh, data.nFileSizeLow));
}

std::optional<FileStamp> StampOf(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(mLongPath::ForSystem(path).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return FileStamp{static_cast<std::int64_t>(mFileParts::Join(data.nFileSizeHigh, data.nFileSizeLow)),
                   mFileParts::Ticks(data.ftLastWriteTime)};
}

void CreateFolder(const std::wstring& path) {
  const std::wstring name = mLongPath::ForSystem(path);
  if (CreateDirectoryW(name.c_str(), nullptr)) return;
  const DWORD error = GetLastError();
  const DWORD attributes = GetFileAttributesW(name.c_str());
  if (error == ERROR_ALREADY_EXISTS && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return;
  ThrowError(L"CreateDirectoryW", path, error);
}

std::wstring FileSystemOf(const std::wstring& path) {
  wchar_t root[MAX_PATH + 1] = {};
  if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\')
    lstrcpynW(root, path.c_str(), 4);  // a drive letter's root, without asking the system
  else if (!GetVolumePathNameW(path.c_str(), root, MAX_PATH + 1))
    return {};
  wchar_t name[MAX_PATH + 1] = {};
  if (!GetVolumeInformationW(root, nullptr, 0, nullptr, nullptr, nullptr, name, MAX_PATH + 1)) return {};
  return name;
}

std::wstring VolumeLabel(const std::wstring& root) {
  wchar_t label[MAX_PATH + 1] = {};
  if (!GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0)) return {};
  return label;
}

namespace {

void ThrowError(const std::wstring& call, const std::wstring& path, DWORD code) {
  throw cFileError(call, path, code, mSystemError::Text(code));
}

}  // namespace

Existing ProbeWritable(const std::wstring& path, bool readOnlyReplaceable) {
  if (mLongPath::HasInvalidNameCharacter(path)) ThrowError(L"CreateFileW", path, ERROR_INVALID_NAME);
  // The attribute is looked at rather than left to the open below, which Wine run by root
  // would grant on a read-only file.
  const DWORD attributes = GetFileAttributesW(mLongPath::ForSystem(path).c_str());
  // No such file in an existing folder: it may be created. Every other failure is left for
  // the open below to report in its own words.
  if (attributes == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_FILE_NOT_FOUND) return Existing::None;
  const bool readOnlyFile = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
                            !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  if (readOnlyFile) {
    if (!readOnlyReplaceable) ThrowError(L"CreateFileW", path, ERROR_ACCESS_DENIED);
    return Existing::ReadOnly;
  }
  // Opening with write access and no disposition change tells "may be replaced" apart from
  // files others keep from writers, folders of that name and missing folders, and touches nothing.
  HANDLE h = CreateFileW(mLongPath::ForSystem(path).c_str(), GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h != INVALID_HANDLE_VALUE) {
    CloseHandle(h);
    return Existing::Writable;
  }
  if (GetLastError() == ERROR_FILE_NOT_FOUND) return Existing::None;
  throw cFileError::FromLastError(L"CreateFileW", path);
}

void SetReadOnly(const std::wstring& path, bool readOnly) {
  const std::wstring systemPath = mLongPath::ForSystem(path);
  const DWORD attributes = GetFileAttributesW(systemPath.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) throw cFileError::FromLastError(L"GetFileAttributesW", path);
  DWORD wanted = readOnly ? attributes | FILE_ATTRIBUTE_READONLY : attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
  if (wanted == attributes) return;
  if (wanted == 0) wanted = FILE_ATTRIBUTE_NORMAL;
  if (!SetFileAttributesW(systemPath.c_str(), wanted)) throw cFileError::FromLastError(L"SetFileAttributesW", path);
}

std::wstring TemporaryNameBeside(const std::wstring& path) {
  static std::atomic<unsigned> counter{0};
  const auto cut = path.find_last_of(L"\\/");
  const std::wstring folder = cut == std::wstring::npos ? L"" : path.substr(0, cut + 1);
  return folder + mLeftovers::TemporaryName(GetCurrentProcessId(), counter++);
}

void ReplaceWith(const std::wstring& from, const std::wstring& to) {
  if (!MoveFileExW(mLongPath::ForSystem(from).c_str(), mLongPath::ForSystem(to).c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    throw cFileError::FromLastError(L"MoveFileExW", to);
}

bool ReadBack(const std::wstring& path, const std::function<bool(std::span<const std::byte>)>& sink,
              std::int64_t from, std::int64_t to) {
  // The copy may still be open for writing. Unbuffered: from the device, not from the cache
  // that still holds what was written.
  struct Handle {
    HANDLE h;
    ~Handle() {
      if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
  } file{CreateFileW(mLongPath::ForSystem(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                     nullptr, OPEN_EXISTING, FILE_FLAG_NO_BUFFERING | FILE_FLAG_SEQUENTIAL_SCAN, nullptr)};
  if (file.h == INVALID_HANDLE_VALUE) throw cFileError::FromLastError(L"CreateFileW", path);
  LARGE_INTEGER length{};
  if (!GetFileSizeEx(file.h, &length)) throw cFileError::FromLastError(L"GetFileSizeEx", path);
  const LONGLONG end = std::min<LONGLONG>(length.QuadPart, to);
  LARGE_INTEGER start{};
  start.QuadPart = from;
  if (from > 0 && !SetFilePointerEx(file.h, start, nullptr, FILE_BEGIN)) throw cFileError::FromLastError(L"SetFilePointerEx", path);
  // Unbuffered reads want whole sectors into memory aligned to them: whole pages. The block is
  // no larger than the part, up to 1 MiB, and comes from the heap: the system pins each page for
  // the read, and fresh pages would cost a small file more than reading it.
  constexpr LONGLONG kPage = 4096, kMostBytes = 1 << 20;
  const auto RoundUp = [](LONGLONG bytes) { return (bytes + kPage - 1) / kPage * kPage; };
  const auto blockBytes = static_cast<DWORD>(std::clamp(RoundUp(end - from), kPage, kMostBytes));
  const std::unique_ptr<void, decltype(&_aligned_free)> block(_aligned_malloc(blockBytes, kPage), &_aligned_free);
  if (!block) throw cFileError(L"_aligned_malloc", path, ERROR_NOT_ENOUGH_MEMORY, mSystemError::Text(ERROR_NOT_ENOUGH_MEMORY));
  // Read up to the part's end: no call is spent on finding the file's end, nor on what lies past
  // the part, which may not have reached the device yet.
  for (LONGLONG left = end - from; left > 0;) {
    DWORD got = 0;
    const auto most = static_cast<DWORD>(std::min<LONGLONG>(blockBytes, RoundUp(left)));
    if (!ReadFile(file.h, block.get(), most, &got, nullptr)) throw cFileError::FromLastError(L"ReadFile", path);
    if (got == 0) return true;
    const auto bytes = static_cast<std::size_t>(std::min<LONGLONG>(got, left));
    if (!sink({static_cast<const std::byte*>(block.get()), bytes})) return false;
    left -= static_cast<LONGLONG>(bytes);
  }
  return true;
}

void RemoveFile(const std::wstring& path) {
  if (!DeleteFileW(mLongPath::ForSystem(path).c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
    throw cFileError::FromLastError(L"DeleteFileW", path);
}

void RemoveFolder(const std::wstring& path) {
  if (RemoveDirectoryW(mLongPath::ForSystem(path).c_str())) return;
  const DWORD error = GetLastError();
  if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) ThrowError(L"RemoveDirectoryW", path, error);
}

void MoveTo(const std::wstring& from, const std::wstring& to) {
  if (!MoveFileExW(mLongPath::ForSystem(from).c_str(), mLongPath::ForSystem(to).c_str(), 0))
    throw cFileError::FromLastError(L"MoveFileExW", from);
}

bool LinkAs(const std::wstring& path, const std::wstring& name) {
  if (CreateHardLinkW(mLongPath::ForSystem(name).c_str(), mLongPath::ForSystem(path).c_str(), nullptr)) return true;
  const DWORD error = GetLastError();
  if (error == ERROR_INVALID_FUNCTION || error == ERROR_NOT_SUPPORTED) return false;
  throw cFileError(L"CreateHardLinkW", path, error, mSystemError::Text(error));
}

bool FolderAnswers(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(mLongPath::ForSystem(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<Room> RoomOn(const std::wstring& path) {
  ULARGE_INTEGER freeToCaller{};
  if (!GetDiskFreeSpaceExW(path.c_str(), &freeToCaller, nullptr, nullptr)) return std::nullopt;
  wchar_t root[MAX_PATH + 1] = {};
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
  const bool sized = GetVolumePathNameW(path.c_str(), root, MAX_PATH + 1) &&
                     GetDiskFreeSpaceW(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters);
  const std::int64_t cluster = sized ? std::int64_t{sectorsPerCluster} * bytesPerSector : 0;
  return Room{static_cast<std::int64_t>(freeToCaller.QuadPart), std::max<std::int64_t>(cluster, 1)};
}

}  // namespace mFileSys

namespace mFileSys {

std::wstring VolumeRoot(const std::wstring& path) {
  std::wstring root(path.size() + MAX_PATH + 1, L'\0');
  if (!GetVolumePathNameW(path.c_str(), root.data(), static_cast<DWORD>(root.size()))) return {};
  root.resize(wcslen(root.c_str()));
  return root;
}

std::optional<std::uint32_t> VolumeSerial(const std::wstring& root) {
  // A drive with no medium in it answers at once instead of asking the user to insert one.
  // The thread's own mode: volumes are asked from several threads at once.
  DWORD oldMode = 0;
  SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &oldMode);
  DWORD serial = 0;
  const BOOL ok = GetVolumeInformationW(root.c_str(), nullptr, 0, &serial, nullptr, nullptr, nullptr, 0);
  SetThreadErrorMode(oldMode, nullptr);
  if (!ok) return std::nullopt;
  return static_cast<std::uint32_t>(serial);
}

std::vector<std::wstring> VolumeRoots() {
  std::vector<std::wstring> roots;
  const DWORD drives = GetLogicalDrives();
  for (int i = 0; i < 26; ++i)
    if (drives & (1u << i)) roots.push_back(std::wstring(1, static_cast<wchar_t>(L'A' + i)) + L":\\");
  return roots;
}

}  // namespace mFileSys
