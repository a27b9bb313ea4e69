#include "../cFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "../cFileError.h"
#include "mPosixPath.h"
#include "mText.h"

namespace {

constexpr std::size_t kMaxIo = 1u << 30;

int Open(const std::wstring& path, int flags) {
  int fd;
  do {
    fd = ::open(mPosixPath::Native(path).c_str(), flags | O_CLOEXEC, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) throw cFileError::FromLastError(L"open", path);
  return fd;
}

struct stat StatusOf(int fd, const std::wstring& path) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) throw cFileError::FromLastError(L"fstat", path);
  return st;
}

}  // namespace

cFile cFile::OpenForReading(const std::wstring& path) {
  cFile file(Open(path, O_RDONLY), path);
  // Opening a folder for reading succeeds here; Windows refuses it, and so does this.
  if (S_ISDIR(StatusOf(file.m_Handle, path).st_mode)) {
    errno = EISDIR;
    throw cFileError::FromLastError(L"open", path);
  }
  return file;
}

cFile cFile::CreateNew(const std::wstring& path) {
  return cFile(Open(path, O_WRONLY | O_CREAT | O_EXCL), path);
}

// Files here have no hidden attribute: an unfinished file shows at once.
std::optional<cFile> cFile::TryCreateNew(const std::wstring& path, Shown) {
  try {
    return cFile(Open(path, O_WRONLY | O_CREAT | O_EXCL), path);
  } catch (const cFileError& error) {
    if (error.Code() == EEXIST) return std::nullopt;
    throw;
  }
}

cFile::cFile(Native handle, std::wstring path) noexcept
    : m_Handle(handle), m_Path(std::move(path)) {}

cFile::cFile(cFile&& other) noexcept
    : m_Handle(std::exchange(other.m_Handle, -1)), m_Path(std::move(other.m_Path)) {}

cFile& cFile::operator=(cFile&& other) noexcept {
  if (this != &other) {
    Release();
    m_Handle = std::exchange(other.m_Handle, -1);
    m_Path = std::move(other.m_Path);
  }
  return *this;
}

cFile::~cFile() { Release(); }

void cFile::Release() noexcept {
  if (m_Handle >= 0) ::close(m_Handle);
  m_Handle = -1;
}

bool cFile::IsOpen() const noexcept { return m_Handle >= 0; }

std::size_t cFile::Read(std::span<std::byte> buffer) {
  std::size_t total = 0;
  while (total < buffer.size()) {
    const ssize_t got = ::read(m_Handle, buffer.data() + total, std::min(buffer.size() - total, kMaxIo));
    if (got < 0) {
      if (errno == EINTR) continue;
      throw cFileError::FromLastError(L"read", m_Path);
    }
    if (got == 0) break;
    total += static_cast<std::size_t>(got);
  }
  return total;
}

void cFile::Write(std::span<const std::byte> data) {
  std::size_t total = 0;
  while (total < data.size()) {
    const ssize_t put = ::write(m_Handle, data.data() + total, std::min(data.size() - total, kMaxIo));
    if (put < 0) {
      if (errno == EINTR) continue;
      throw cFileError::FromLastError(L"write", m_Path);
    }
    total += static_cast<std::size_t>(put);
  }
}

std::int64_t cFile::Length() const { return static_cast<std::int64_t>(StatusOf(m_Handle, m_Path).st_size); }

std::int64_t cFile::LastWriteTime() const {
  const struct stat st = StatusOf(m_Handle, m_Path);
  return static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

void cFile::SetLastWriteTime(std::int64_t ticks) {
  const timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(ticks / 1000000000), static_cast<long>(ticks % 1000000000)}};
  if (::futimens(m_Handle, times) != 0) throw cFileError::FromLastError(L"futimens", m_Path);
}

// Read-only is the owner's write bit; hidden, system and archive have no counterpart here.
cFile::Attributes cFile::KeptAttributes() const {
  Attributes attributes;
  attributes.readOnly = (StatusOf(m_Handle, m_Path).st_mode & S_IWUSR) == 0;
  return attributes;
}

void cFile::SetAttributes(Attributes attributes) {
  const mode_t mode = StatusOf(m_Handle, m_Path).st_mode & 07777;
  const mode_t wanted = attributes.readOnly ? mode & ~mode_t{S_IWUSR} : mode | S_IWUSR;
  if (wanted != mode && ::fchmod(m_Handle, wanted) != 0) throw cFileError::FromLastError(L"fchmod", m_Path);
}

void cFile::Empty() { Shorten(0); }

void cFile::Shorten(std::int64_t length) {
  if (::ftruncate(m_Handle, static_cast<off_t>(length)) != 0) throw cFileError::FromLastError(L"ftruncate", m_Path);
  if (::lseek(m_Handle, static_cast<off_t>(length), SEEK_SET) != length) throw cFileError::FromLastError(L"lseek", m_Path);
}

void cFile::Flush() {
  if (::fsync(m_Handle) != 0) throw cFileError::FromLastError(L"fsync", m_Path);
}

void cFile::Close() {
  const int fd = std::exchange(m_Handle, -1);
  if (fd >= 0 && ::close(fd) != 0) throw cFileError::FromLastError(L"close", m_Path);
}
