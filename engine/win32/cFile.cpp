#include "../cFile.h"

#include <windows.h>

#include <limits>
#include <utility>

#include "../cFileError.h"
#include "mFileParts.h"
#include "mLongPath.h"
#include "mSystemError.h"

namespace {

// One ReadFile/WriteFile call takes a DWORD count; stay well below it.
constexpr std::size_t kMaxIo = 1u << 30;

// A new file is written, and its attributes read and set (GENERIC_WRITE holds the right to set
// them); others may read it meanwhile: the copy is read back through a handle of its own.
constexpr DWORD kNewFileAccess = GENERIC_WRITE | FILE_READ_ATTRIBUTES;
constexpr DWORD kNewFileSharing = FILE_SHARE_READ;

// INVALID_HANDLE_VALUE on failure, with the reason in GetLastError.
HANDLE TryOpen(const std::wstring& path, DWORD access, DWORD share, DWORD disposition,
               DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
  if (disposition != OPEN_EXISTING && mLongPath::HasInvalidNameCharacter(path)) {
    SetLastError(ERROR_INVALID_NAME);
    return INVALID_HANDLE_VALUE;
  }
  return CreateFileW(mLongPath::ForSystem(path).c_str(), access, share, nullptr, disposition,
                     attributes | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

HANDLE Open(const std::wstring& path, DWORD access, DWORD share, DWORD disposition) {
  HANDLE h = TryOpen(path, access, share, disposition);
  if (h == INVALID_HANDLE_VALUE) throw cFileError::FromLastError(L"CreateFileW", path);
  return h;
}

}  // namespace

cFile cFile::OpenForReading(const std::wstring& path) {
  return cFile(Open(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING), path);
}

cFile cFile::CreateNew(const std::wstring& path) {
  return cFile(Open(path, kNewFileAccess, kNewFileSharing, CREATE_NEW), path);
}

std::optional<cFile> cFile::TryCreateNew(const std::wstring& path, Shown shown) {
  const DWORD attributes = shown == Shown::AtOnce ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_HIDDEN;
  HANDLE h = TryOpen(path, kNewFileAccess, kNewFileSharing, CREATE_NEW, attributes);
  if (h != INVALID_HANDLE_VALUE) return cFile(h, path);
  const DWORD code = GetLastError();
  if (code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS) return std::nullopt;
  throw cFileError(L"CreateFileW", path, code, mSystemError::Text(code));
}

cFile::cFile(Native handle, std::wstring path) noexcept
    : m_Handle(handle), m_Path(std::move(path)) {}

cFile::cFile(cFile&& other) noexcept
    : m_Handle(std::exchange(other.m_Handle, INVALID_HANDLE_VALUE)),
      m_Path(std::move(other.m_Path)) {}

cFile& cFile::operator=(cFile&& other) noexcept {
  if (this != &other) {
    Release();
    m_Handle = std::exchange(other.m_Handle, INVALID_HANDLE_VALUE);
    m_Path = std::move(other.m_Path);
  }
  return *this;
}

cFile::~cFile() { Release(); }

void cFile::Release() noexcept {
  if (m_Handle != INVALID_HANDLE_VALUE) CloseHandle(m_Handle);
  m_Handle = INVALID_HANDLE_VALUE;
}

bool cFile::IsOpen() const noexcept { return m_Handle != INVALID_HANDLE_VALUE; }

std::size_t cFile::Read(std::span<std::byte> buffer) {
  std::size_t total = 0;
  while (total < buffer.size()) {
    const auto want = static_cast<DWORD>(std::min(buffer.size() - total, kMaxIo));
    DWORD got = 0;
    if (!ReadFile(m_Handle, buffer.data() + total, want, &got, nullptr))
      throw cFileError::FromLastError(L"ReadFile", m_Path);
    if (got == 0) break;  // end of file
    total += got;
  }
  return total;
}

void cFile::Write(std::span<const std::byte> data) {
  std::size_t total = 0;
  while (total < data.size()) {
    const auto want = static_cast<DWORD>(std::min(data.size() - total, kMaxIo));
    DWORD put = 0;
    if (!WriteFile(m_Handle, data.data() + total, want, &put, nullptr))
      throw cFileError::FromLastError(L"WriteFile", m_Path);
    if (put == 0)
      throw cFileError(L"WriteFile", m_Path, ERROR_WRITE_FAULT, mSystemError::Text(ERROR_WRITE_FAULT));
    total += put;
  }
}

std::int64_t cFile::Length() const {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(m_Handle, &size)) throw cFileError::FromLastError(L"GetFileSizeEx", m_Path);
  return size.QuadPart;
}

std::int64_t cFile::LastWriteTime() const {
  FILETIME written{};
  if (!GetFileTime(m_Handle, nullptr, nullptr, &written)) throw cFileError::FromLastError(L"GetFileTime", m_Path);
  return static_cast<std::int64_t>(mFileParts::Ticks(written));
}

void cFile::SetLastWriteTime(std::int64_t ticks) {
  const FILETIME written = mFileParts::FileTime(static_cast<std::uint64_t>(ticks));
  if (!SetFileTime(m_Handle, nullptr, nullptr, &written)) throw cFileError::FromLastError(L"SetFileTime", m_Path);
}

namespace {

struct KeptAttributeBit {
  bool cFile::Attributes::*member;
  DWORD bit;
};
constexpr KeptAttributeBit kKeptAttributeBits[] = {
    {&cFile::Attributes::readOnly, FILE_ATTRIBUTE_READONLY},
    {&cFile::Attributes::hidden, FILE_ATTRIBUTE_HIDDEN},
    {&cFile::Attributes::system, FILE_ATTRIBUTE_SYSTEM},
    {&cFile::Attributes::archive, FILE_ATTRIBUTE_ARCHIVE},
};

FILE_BASIC_INFO BasicInfo(HANDLE handle, const std::wstring& path) {
  FILE_BASIC_INFO info{};
  if (!GetFileInformationByHandleEx(handle, FileBasicInfo, &info, sizeof info))
    throw cFileError::FromLastError(L"GetFileInformationByHandleEx", path);
  return info;
}

}  // namespace

cFile::Attributes cFile::KeptAttributes() const {
  const DWORD bits = BasicInfo(m_Handle, m_Path).FileAttributes;
  Attributes attributes;
  for (const auto& kept : kKeptAttributeBits) attributes.*kept.member = (bits & kept.bit) != 0;
  return attributes;
}

void cFile::SetAttributes(Attributes attributes) {
  FILE_BASIC_INFO info{};  // times of zero leave each time as it is
  for (const auto& kept : kKeptAttributeBits)
    if (attributes.*kept.member) info.FileAttributes |= kept.bit;
  if (info.FileAttributes == 0) info.FileAttributes = FILE_ATTRIBUTE_NORMAL;
  if (!SetFileInformationByHandle(m_Handle, FileBasicInfo, &info, sizeof info))
    throw cFileError::FromLastError(L"SetFileInformationByHandle", m_Path);
}

void cFile::Empty() { Shorten(0); }

void cFile::Shorten(std::int64_t length) {
  LARGE_INTEGER end{};
  end.QuadPart = length;
  if (!SetFilePointerEx(m_Handle, end, nullptr, FILE_BEGIN)) throw cFileError::FromLastError(L"SetFilePointerEx", m_Path);
  if (!SetEndOfFile(m_Handle)) throw cFileError::FromLastError(L"SetEndOfFile", m_Path);
}

void cFile::Flush() {
  if (!FlushFileBuffers(m_Handle)) throw cFileError::FromLastError(L"FlushFileBuffers", m_Path);
}

void cFile::Close() {
  HANDLE h = std::exchange(m_Handle, INVALID_HANDLE_VALUE);
  if (h != INVALID_HANDLE_VALUE && !CloseHandle(h))
    throw cFileError::FromLastError(L"CloseHandle", m_Path);
}
