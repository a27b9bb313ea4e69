#include "../mFileSys.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <sstream>
#include <cerrno>
#include <cstdio>
#include <vector>

#include "../cFileError.h"
#include "../mLeftovers.h"
#include "mText.h"
#include "mPosixPath.h"

namespace mFileSys {
namespace {

std::wstring FolderOf(const std::wstring& path) {
  const auto cut = path.find_last_of(L"\\/");
  return cut == std::wstring::npos ? L"" : path.substr(0, cut + 1);
}

// A rename is durable only once its folder has been synced too.
void SyncFolder(const std::wstring& path) {
  std::wstring folder = FolderOf(path);
  if (folder.empty()) folder = L".";
  const int fd = ::open(mPosixPath::Native(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) throw cFileError::FromLastError(L"open", folder);
  const bool ok = ::fsync(fd) == 0;
  const int error = errno;
  ::close(fd);
  if (!ok) {
    errno = error;
    throw cFileError::FromLastError(L"fsync", folder);
  }
}

}  // namespace

std::int64_t FileLength(const std::wstring& path) {
  struct stat st {};
  if (::stat(mPosixPath::Native(path).c_str(), &st) != 0) throw cFileError::FromLastError(L"stat", path);
  if (S_ISDIR(st.st_mode)) {
    errno = EISDIR;
    throw cFileError::FromLastError(L"stat", path);
  }
  return static_cast<std::int64_t>(st.st_size);
}

std::optional<FileStamp> StampOf(const std::wstring& path) {
  struct stat st {};
  if (::stat(mPosixPath::Native(path).c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return std::nullopt;
  constexpr std::uint64_t kTicksPerSecond = 10'000'000;
  return FileStamp{static_cast<std::int64_t>(st.st_size), static_cast<std::uint64_t>(st.st_mtim.tv_sec) * kTicksPerSecond +
                                                               static_cast<std::uint64_t>(st.st_mtim.tv_nsec) / 100};
}

void CreateFolder(const std::wstring& path) {
  const std::string name = mPosixPath::Native(path);
  if (::mkdir(name.c_str(), 0777) == 0) return;
  const int error = errno;
  struct stat st {};
  if (error == EEXIST && ::stat(name.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return;
  errno = error;
  throw cFileError::FromLastError(L"mkdir", path);
}

// Only the file systems whose times are coarse are told apart; others read as the finest.
std::wstring FileSystemOf(const std::wstring& path) {
  constexpr long kFat = 0x4d44, kExFat = 0x2011BAB0;
  std::wstring existing = path;
  struct statfs fs {};
  // The folder a backup goes to may not be there yet: its nearest existing parent tells.
  while (::statfs(mPosixPath::Native(existing.empty() ? L"." : existing).c_str(), &fs) != 0) {
    const auto cut = existing.find_last_of(L"\\/", existing.size() > 1 ? existing.size() - 2 : 0);
    if (existing.empty() || cut == std::wstring::npos) return {};
    existing.resize(cut + 1);
  }
  if (static_cast<long>(fs.f_type) == kFat) return L"FAT32";
  if (static_cast<long>(fs.f_type) == kExFat) return L"exFAT";
  return {};
}

// Volumes here have no labels the program could read.
std::wstring VolumeLabel(const std::wstring&) { return {}; }

Existing ProbeWritable(const std::wstring& path, bool readOnlyReplaceable) {
  // The owner's write bit is looked at rather than left to the open below, which root is granted
  // on a read-only file.
  struct stat st {};
  if (::stat(mPosixPath::Native(path).c_str(), &st) == 0 && S_ISREG(st.st_mode) && !(st.st_mode & S_IWUSR)) {
    if (!readOnlyReplaceable) {
      errno = EACCES;
      throw cFileError::FromLastError(L"open", path);
    }
    return Existing::ReadOnly;
  }
  const int fd = ::open(mPosixPath::Native(path).c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd >= 0) {
    ::close(fd);
    return Existing::Writable;
  }
  if (errno == ENOENT) {
    // ENOENT also means a missing folder; tell the two apart by the folder itself.
    const std::wstring folder = FolderOf(path);
    if (folder.empty() || (::stat(mPosixPath::Native(folder).c_str(), &st) == 0 && S_ISDIR(st.st_mode)))
      return Existing::None;
    errno = ENOENT;
  }
  throw cFileError::FromLastError(L"open", path);
}

void SetReadOnly(const std::wstring& path, bool readOnly) {
  const std::string name = mPosixPath::Native(path);
  struct stat st {};
  if (::stat(name.c_str(), &st) != 0) throw cFileError::FromLastError(L"stat", path);
  const mode_t mode = st.st_mode & 07777;
  const mode_t wanted = readOnly ? mode & ~mode_t{S_IWUSR} : mode | S_IWUSR;
  if (wanted != mode && ::chmod(name.c_str(), wanted) != 0) throw cFileError::FromLastError(L"chmod", path);
}

std::wstring TemporaryNameBeside(const std::wstring& path) {
  static std::atomic<unsigned> counter{0};
  const std::wstring folder = FolderOf(path);
  return folder + mLeftovers::TemporaryName(static_cast<std::uint32_t>(::getpid()), counter++);
}

void ReplaceWith(const std::wstring& from, const std::wstring& to) {
  if (::rename(mPosixPath::Native(from).c_str(), mPosixPath::Native(to).c_str()) != 0)
    throw cFileError::FromLastError(L"rename", to);
  SyncFolder(to);
}

bool ReadBack(const std::wstring& path, const std::function<bool(std::span<const std::byte>)>& sink,
              std::int64_t from, std::int64_t to) {
  const int fd = ::open(mPosixPath::Native(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw cFileError::FromLastError(L"open", path);
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  // The part was synced: its cached pages are clean and can be dropped, so the reads below come
  // from the device.
  ::posix_fadvise(fd, from, to == kToTheEnd ? 0 : to - from, POSIX_FADV_DONTNEED);
  std::vector<std::byte> block(1 << 20);
  for (std::int64_t at = from; at < to;) {
    const auto most = static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(block.size()), to - at));
    const ssize_t got = ::pread(fd, block.data(), most, at);
    if (got < 0) throw cFileError::FromLastError(L"read", path);
    if (got == 0) return true;
    if (!sink({block.data(), static_cast<std::size_t>(got)})) return false;
    at += got;
  }
  return true;
}

void RemoveFile(const std::wstring& path) {
  if (::unlink(mPosixPath::Native(path).c_str()) != 0 && errno != ENOENT)
    throw cFileError::FromLastError(L"unlink", path);
}

void RemoveFolder(const std::wstring& path) {
  if (::rmdir(mPosixPath::Native(path).c_str()) != 0 && errno != ENOENT) throw cFileError::FromLastError(L"rmdir", path);
}

void MoveTo(const std::wstring& from, const std::wstring& to) {
  // Unlike rename, never replaces what is at `to`.
  if (::renameat2(AT_FDCWD, mPosixPath::Native(from).c_str(), AT_FDCWD, mPosixPath::Native(to).c_str(), RENAME_NOREPLACE) != 0)
    throw cFileError::FromLastError(L"renameat2", from);
}

bool LinkAs(const std::wstring& path, const std::wstring& name) {
  if (::link(mPosixPath::Native(path).c_str(), mPosixPath::Native(name).c_str()) == 0) return true;
  if (errno == EPERM || errno == EOPNOTSUPP) return false;
  throw cFileError::FromLastError(L"link", path);
}

bool FolderAnswers(const std::wstring& path) {
  struct stat st {};
  return ::stat(mPosixPath::Native(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::optional<Room> RoomOn(const std::wstring& path) {
  struct statvfs fs {};
  if (::statvfs(mPosixPath::Native(path).c_str(), &fs) != 0) return std::nullopt;
  return Room{static_cast<std::int64_t>(fs.f_bavail) * static_cast<std::int64_t>(fs.f_frsize),
              std::max<std::int64_t>(static_cast<std::int64_t>(fs.f_bsize), 1)};
}

namespace {

std::optional<dev_t> DeviceOf(const std::string& path) {
  struct stat st {};
  if (::stat(path.empty() ? "/" : path.c_str(), &st) != 0) return std::nullopt;
  return st.st_dev;
}

// "/a/b/" -> "/a/"; "/" stays.
std::string ParentOf(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  const auto cut = path.find_last_of('/');
  return cut == std::string::npos ? "/" : path.substr(0, cut + 1);
}

// /proc/self/mounts writes a space in a mount point as \040, and so on.
std::string Unescaped(const std::string& field) {
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size()) {
      out += static_cast<char>(std::stoi(field.substr(i + 1, 3), nullptr, 8));
      i += 3;
    } else {
      out += field[i];
    }
  }
  return out;
}

}  // namespace

// The mount point: the highest folder above the path on the same device.
std::wstring VolumeRoot(const std::wstring& path) {
  std::string native = mPosixPath::Native(path);
  if (native.empty() || native.front() != '/') return {};
  std::optional<dev_t> device;
  while (!(device = DeviceOf(native)) && native != "/") native = ParentOf(native);
  if (!device) return {};
  while (native != "/") {
    const std::string parent = ParentOf(native);
    if (DeviceOf(parent) != device) break;
    native = parent;
  }
  if (native.back() != '/') native += '/';
  return mText::FromUtf8(native);
}

std::optional<std::uint32_t> VolumeSerial(const std::wstring& root) {
  const std::optional<dev_t> device = DeviceOf(mPosixPath::Native(root));
  if (!device) return std::nullopt;
  const auto value = static_cast<std::uint64_t>(*device);
  return static_cast<std::uint32_t>(value ^ (value >> 32));
}

std::vector<std::wstring> VolumeRoots() {
  std::vector<std::wstring> roots;
  std::ifstream mounts("/proc/self/mounts");
  std::string line;
  while (std::getline(mounts, line)) {
    std::istringstream fields(line);
    std::string device, point;
    if (!(fields >> device >> point)) continue;
    point = Unescaped(point);
    if (point.back() != '/') point += '/';
    roots.push_back(mText::FromUtf8(point));
  }
  return roots;
}

}  // namespace mFileSys
