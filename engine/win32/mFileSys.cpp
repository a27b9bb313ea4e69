#include "../mFileSys.h"

#include <windows.h>

#include <atomic>

#include "../cFileError.h"
#include "../mLeftovers.h"
#include "mLongPath.h"

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
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) |
                                   data.nFileSizeLow);
}

namespace {

// Windows refuses these characters in names; Wine lets some of them through to the host's
// file system, so they are refused here the way Windows would.
bool HasInvalidNameCharacter(const std::wstring& path) {
  std::size_t start = path.rfind(LR"(\\?\)", 0) == 0 ? 4 : 0;
  if (path.size() >= start + 2 && path[start + 1] == L':') start += 2;
  for (std::size_t i = start; i < path.size(); ++i) {
    const wchar_t c = path[i];
    if (c < 32 || c == L'<' || c == L'>' || c == L':' || c == L'"' || c == L'|' || c == L'?' ||
        c == L'*')
      return true;
  }
  return false;
}

void ThrowError(const std::wstring& call, const std::wstring& path, DWORD code) {
  throw cFileError(call, path, code, SystemErrorText(code));
}

}  // namespace

bool ProbeWritable(const std::wstring& path) {
  if (HasInvalidNameCharacter(path)) ThrowError(L"CreateFileW", path, ERROR_INVALID_NAME);
  // A read-only file must not be replaced (Wine run by root would let it be).
  const DWORD attributes = GetFileAttributesW(mLongPath::ForSystem(path).c_str());
  // No such file in an existing folder: it may be created. Every other failure is left for
  // the open below to report in its own words.
  if (attributes == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_FILE_NOT_FOUND) return false;
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    ThrowError(L"CreateFileW", path, ERROR_ACCESS_DENIED);
  // Opening with write access and no disposition change tells "may be replaced" apart from
  // read-only files, folders of that name and missing folders, and touches nothing.
  HANDLE h = CreateFileW(mLongPath::ForSystem(path).c_str(), GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h != INVALID_HANDLE_VALUE) {
    CloseHandle(h);
    return true;
  }
  if (GetLastError() == ERROR_FILE_NOT_FOUND) return false;
  throw cFileError::FromLastError(L"CreateFileW", path);
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

void ReadBack(const std::wstring& path, const std::function<void(std::span<const std::byte>)>& sink) {
  // Unbuffered: from the device, not from the cache that still holds what was written. Such
  // reads want whole sectors into memory aligned to them: a page-aligned block of 1 MiB.
  constexpr DWORD kBlock = 1 << 20;
  struct Handle {
    HANDLE h;
    ~Handle() {
      if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
  } file{CreateFileW(mLongPath::ForSystem(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                     FILE_FLAG_NO_BUFFERING | FILE_FLAG_SEQUENTIAL_SCAN, nullptr)};
  if (file.h == INVALID_HANDLE_VALUE) throw cFileError::FromLastError(L"CreateFileW", path);
  struct Block {
    void* memory;
    ~Block() {
      if (memory) VirtualFree(memory, 0, MEM_RELEASE);
    }
  } block{VirtualAlloc(nullptr, kBlock, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)};
  if (!block.memory) throw cFileError::FromLastError(L"VirtualAlloc", path);
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.h, block.memory, kBlock, &got, nullptr)) throw cFileError::FromLastError(L"ReadFile", path);
    if (got == 0) return;
    sink({static_cast<const std::byte*>(block.memory), got});
  }
}

void RemoveFile(const std::wstring& path) {
  if (!DeleteFileW(mLongPath::ForSystem(path).c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
    throw cFileError::FromLastError(L"DeleteFileW", path);
}

}  // namespace mFileSys
