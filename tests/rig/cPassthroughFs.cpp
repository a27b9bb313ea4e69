#include "cPassthroughFs.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <system_error>
#include <thread>
#include <utility>

namespace {

int Result(int value) { return value < 0 ? -errno : value; }

}  // namespace

cPassthroughFs::cPassthroughFs(Settings settings)
    : m_Settings(std::move(settings)),
      m_Root(::open(m_Settings.backing.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)),
      m_ReadPace(m_Settings.readBytesPerSecond),
      m_WritePace(m_Settings.writeBytesPerSecond) {
  if (m_Root < 0) throw std::system_error(errno, std::generic_category(), "open " + m_Settings.backing);
}

cPassthroughFs::~cPassthroughFs() { ::close(m_Root); }

cPassthroughFs& cPassthroughFs::Self() { return *static_cast<cPassthroughFs*>(fuse_get_context()->private_data); }

const char* cPassthroughFs::Relative(const char* path) { return path[1] ? path + 1 : "."; }

void cPassthroughFs::Pause() const {
  if (m_Settings.operationDelay.count() > 0) std::this_thread::sleep_for(m_Settings.operationDelay);
}

void* cPassthroughFs::Init(fuse_conn_info*, fuse_config* config) {
  // No caching in the kernel: every transfer and every length reaches this device.
  config->direct_io = 1;
  config->kernel_cache = 0;
  config->attr_timeout = 0;
  config->entry_timeout = 0;
  config->negative_timeout = 0;
  return fuse_get_context()->private_data;
}

int cPassthroughFs::GetAttr(const char* path, struct stat* st, fuse_file_info* fi) {
  if (fi) return Result(::fstat(static_cast<int>(fi->fh), st));
  return Result(::fstatat(Self().m_Root, Relative(path), st, AT_SYMLINK_NOFOLLOW));
}

int cPassthroughFs::Access(const char* path, int mask) {
  return Result(::faccessat(Self().m_Root, Relative(path), mask, 0));
}

int cPassthroughFs::ReadDir(const char* path, void* buffer, fuse_fill_dir_t fill, off_t, fuse_file_info*,
                            fuse_readdir_flags) {
  const int fd = ::openat(Self().m_Root, Relative(path), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return -errno;
  DIR* dir = ::fdopendir(fd);
  if (!dir) {
    const int error = errno;
    ::close(fd);
    return -error;
  }
  while (const dirent* entry = ::readdir(dir)) fill(buffer, entry->d_name, nullptr, 0, static_cast<fuse_fill_dir_flags>(0));
  ::closedir(dir);
  return 0;
}

int cPassthroughFs::MakeDir(const char* path, mode_t mode) {
  Self().Pause();
  return Result(::mkdirat(Self().m_Root, Relative(path), mode));
}

int cPassthroughFs::RemoveDir(const char* path) {
  Self().Pause();
  return Result(::unlinkat(Self().m_Root, Relative(path), AT_REMOVEDIR));
}

int cPassthroughFs::Unlink(const char* path) {
  Self().Pause();
  return Result(::unlinkat(Self().m_Root, Relative(path), 0));
}

int cPassthroughFs::Rename(const char* from, const char* to, unsigned int flags) {
  Self().Pause();
  const int root = Self().m_Root;
  return Result(::renameat2(root, Relative(from), root, Relative(to), flags));
}

int cPassthroughFs::ChangeMode(const char* path, mode_t mode, fuse_file_info* fi) {
  if (fi) return Result(::fchmod(static_cast<int>(fi->fh), mode));
  return Result(::fchmodat(Self().m_Root, Relative(path), mode, 0));
}

int cPassthroughFs::Truncate(const char* path, off_t size, fuse_file_info* fi) {
  if (fi) return Result(::ftruncate(static_cast<int>(fi->fh), size));
  const int fd = ::openat(Self().m_Root, Relative(path), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return -errno;
  const int result = Result(::ftruncate(fd, size));
  ::close(fd);
  return result;
}

int cPassthroughFs::SetTimes(const char* path, const timespec times[2], fuse_file_info* fi) {
  Self().Pause();
  if (fi) return Result(::futimens(static_cast<int>(fi->fh), times));
  return Result(::utimensat(Self().m_Root, Relative(path), times, AT_SYMLINK_NOFOLLOW));
}

int cPassthroughFs::Open(const char* path, fuse_file_info* fi) {
  Self().Pause();
  const int fd = ::openat(Self().m_Root, Relative(path), fi->flags | O_CLOEXEC);
  if (fd < 0) return -errno;
  fi->fh = static_cast<std::uint64_t>(fd);
  fi->direct_io = 1;
  return 0;
}

int cPassthroughFs::Create(const char* path, mode_t mode, fuse_file_info* fi) {
  Self().Pause();
  const int fd = ::openat(Self().m_Root, Relative(path), fi->flags | O_CREAT | O_CLOEXEC, mode);
  if (fd < 0) return -errno;
  fi->fh = static_cast<std::uint64_t>(fd);
  fi->direct_io = 1;
  return 0;
}

int cPassthroughFs::Read(const char* path, char* buffer, size_t size, off_t offset, fuse_file_info* fi) {
  cPassthroughFs& self = Self();
  // A failing stretch: what lies before it is read (a short read), then every read fails.
  if (const auto from = self.m_Settings.faults.From(cDeviceFaults::Kind::FailRead, path)) {
    if (offset >= *from) return -EIO;
    size = std::min(size, static_cast<size_t>(*from - offset));
  }
  const auto transfer = self.m_ReadPace.Start(size);
  const ssize_t got = ::pread(static_cast<int>(fi->fh), buffer, size, offset);
  if (got < 0) return -errno;
  if (const auto from = self.m_Settings.faults.From(cDeviceFaults::Kind::FlipRead, path)) {
    for (off_t at = std::max(offset, *from); at < offset + got; ++at) buffer[at - offset] = static_cast<char>(~buffer[at - offset]);
  }
  return static_cast<int>(got);
}

int cPassthroughFs::Write(const char* path, const char* data, size_t size, off_t offset, fuse_file_info* fi) {
  cPassthroughFs& self = Self();
  if (const auto from = self.m_Settings.faults.From(cDeviceFaults::Kind::FailWrite, path)) {
    if (offset >= *from) return -EIO;
    size = std::min(size, static_cast<size_t>(*from - offset));
  }
  const auto transfer = self.m_WritePace.Start(size);
  if (const auto from = self.m_Settings.faults.From(cDeviceFaults::Kind::DropWrite, path)) {
    // What lies before the offset is stored; the rest is only acknowledged.
    if (offset >= *from) return static_cast<int>(size);
    const auto stored = std::min(size, static_cast<size_t>(*from - offset));
    const ssize_t put = ::pwrite(static_cast<int>(fi->fh), data, stored, offset);
    return put < 0 ? -errno : static_cast<int>(size);
  }
  const ssize_t put = ::pwrite(static_cast<int>(fi->fh), data, size, offset);
  return put < 0 ? -errno : static_cast<int>(put);
}

int cPassthroughFs::StatFs(const char* path, struct statvfs* st) {
  const int fd = ::openat(Self().m_Root, Relative(path), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return -errno;
  const int result = Result(::fstatvfs(fd, st));
  ::close(fd);
  return result;
}

int cPassthroughFs::Release(const char*, fuse_file_info* fi) {
  ::close(static_cast<int>(fi->fh));
  return 0;
}

int cPassthroughFs::Sync(const char*, int dataOnly, fuse_file_info* fi) {
  Self().Pause();
  const int fd = static_cast<int>(fi->fh);
  return Result(dataOnly ? ::fdatasync(fd) : ::fsync(fd));
}

const fuse_operations& cPassthroughFs::Operations() {
  static const fuse_operations operations = [] {
    fuse_operations ops{};
    ops.getattr = GetAttr;
    ops.mkdir = MakeDir;
    ops.unlink = Unlink;
    ops.rmdir = RemoveDir;
    ops.rename = Rename;
    ops.chmod = ChangeMode;
    ops.truncate = Truncate;
    ops.open = Open;
    ops.read = Read;
    ops.write = Write;
    ops.statfs = StatFs;
    ops.release = Release;
    ops.fsync = Sync;
    ops.readdir = ReadDir;
    ops.init = Init;
    ops.access = Access;
    ops.create = Create;
    ops.utimens = SetTimes;
    return ops;
  }();
  return operations;
}
