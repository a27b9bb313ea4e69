#pragma once
// A FUSE file system that passes every file through to a backing folder, as a device with its
// own read and write bandwidth, an optional delay on every operation that is not a transfer
// (slow opens on flash) and the faults of cDeviceFaults. Transfers bypass the page cache
// (direct I/O), so every byte a program reads or writes passes the limits.
#define FUSE_USE_VERSION 35
#include <fuse.h>

#include <chrono>
#include <string>

#include "cDeviceFaults.h"
#include "cPacedDevice.h"

class cPassthroughFs {
 public:
  struct Settings {
    std::string backing;
    double readBytesPerSecond = 0;  // 0: no limit
    double writeBytesPerSecond = 0;
    std::chrono::milliseconds operationDelay{0};
    cDeviceFaults faults;
  };

  // Opens the backing folder; throws std::system_error when it cannot.
  explicit cPassthroughFs(Settings settings);
  ~cPassthroughFs();
  cPassthroughFs(const cPassthroughFs&) = delete;
  cPassthroughFs& operator=(const cPassthroughFs&) = delete;

  // The operations, each finding this object through the FUSE context.
  static const fuse_operations& Operations();

 private:
  static cPassthroughFs& Self();
  // The backing folder's path for a path of the mount ("/a/b" -> "a/b", "/" -> ".").
  static const char* Relative(const char* path);
  void Pause() const;

  static int GetAttr(const char* path, struct stat* st, fuse_file_info* fi);
  static int Access(const char* path, int mask);
  static int ReadDir(const char* path, void* buffer, fuse_fill_dir_t fill, off_t offset,
                     fuse_file_info* fi, fuse_readdir_flags flags);
  static int MakeDir(const char* path, mode_t mode);
  static int RemoveDir(const char* path);
  static int Unlink(const char* path);
  static int Rename(const char* from, const char* to, unsigned int flags);
  static int ChangeMode(const char* path, mode_t mode, fuse_file_info* fi);
  static int Truncate(const char* path, off_t size, fuse_file_info* fi);
  static int SetTimes(const char* path, const timespec times[2], fuse_file_info* fi);
  static int Open(const char* path, fuse_file_info* fi);
  static int Create(const char* path, mode_t mode, fuse_file_info* fi);
  static int Read(const char* path, char* buffer, size_t size, off_t offset, fuse_file_info* fi);
  static int Write(const char* path, const char* data, size_t size, off_t offset, fuse_file_info* fi);
  static int StatFs(const char* path, struct statvfs* st);
  static int Release(const char* path, fuse_file_info* fi);
  static int Sync(const char* path, int dataOnly, fuse_file_info* fi);
  static void* Init(fuse_conn_info* connection, fuse_config* config);

  Settings m_Settings;
  int m_Root;  // the backing folder, open
  cPacedDevice m_ReadPace;
  cPacedDevice m_WritePace;
};
