#pragma once
// File-system operations on whole paths, beside cFile. One implementation per platform.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace mFileSys {

// Length in bytes of an existing file.
std::int64_t FileLength(const std::wstring& path);

// A file's length and last-write time (100 ns ticks).
struct FileStamp {
  std::int64_t bytes;
  std::uint64_t written;
};
// The stamp of an existing file; nothing when it cannot be asked (gone, say).
std::optional<FileStamp> StampOf(const std::wstring& path);

// Makes a folder; one that is there already will do.
void CreateFolder(const std::wstring& path);

// The name of the file system of the volume that holds `path` ("NTFS", "FAT32", "exFAT", ...);
// empty when it cannot be asked.
std::wstring FileSystemOf(const std::wstring& path);
// A drive root's volume label ("E:\\" -> "U盘"); empty for a drive without one, or one that is gone.
std::wstring VolumeLabel(const std::wstring& root);

// The root of the volume that holds `path` ("E:\\photos\\a.jpg" -> "E:\\"), ending in a separator;
// empty when it cannot be asked. The path itself need not exist.
std::wstring VolumeRoot(const std::wstring& path);
// The serial number of the volume at `root`; nothing for a volume that is gone or cannot be asked.
std::optional<std::uint32_t> VolumeSerial(const std::wstring& root);
// The roots of the volumes mounted now (drive letters on Windows, mount points on posix).
std::vector<std::wstring> VolumeRoots();

// What stands at a destination path that may be replaced.
enum class Existing { None, Writable, ReadOnly };

// Checks, without changing anything, that a file at path could be replaced. None when there is
// no such file (it may be created); ReadOnly for a read-only file, only when readOnlyReplaceable
// (it is then replaced once its read-only attribute is cleared); throws for every other reason
// (folder missing, invalid name, access denied, a read-only file otherwise, a folder of that name).
Existing ProbeWritable(const std::wstring& path, bool readOnlyReplaceable);

// Sets or clears the read-only attribute of an existing file (the owner's write bit on posix).
void SetReadOnly(const std::wstring& path, bool readOnly);

// A name for a temporary file in the same folder as path, different on every call. The name
// may still be taken by someone else: create the file so that an existing one is not opened.
std::wstring TemporaryNameBeside(const std::wstring& path);

// Moves from over to, replacing a file that is there; the change reaches stable storage.
void ReplaceWith(const std::wstring& from, const std::wstring& to);

// Reads a file from its device rather than from the cache (where the platform lets a program ask
// for that), from byte `from` (a multiple of kReadBackAlign) up to byte `to` or its end, handing
// the bytes to `sink` piece by piece, in order, until it answers false; answers whether all of
// them were read. The file may be open for writing elsewhere, once what was written up to `to`
// has been flushed.
constexpr std::int64_t kReadBackAlign = 1 << 20;
constexpr std::int64_t kToTheEnd = INT64_MAX;
bool ReadBack(const std::wstring& path, const std::function<bool(std::span<const std::byte>)>& sink,
              std::int64_t from = 0, std::int64_t to = kToTheEnd);

// Removes a file; throws when that fails for any reason but its absence.
void RemoveFile(const std::wstring& path);

// Removes an empty folder; throws when that fails for any reason but its absence.
void RemoveFolder(const std::wstring& path);

// Moves a file to another name on the same volume, which must not be taken. The change reaches
// stable storage with the next ReplaceWith on that volume, or later: a journal keeps them in order.
void MoveTo(const std::wstring& from, const std::wstring& to);

// Gives a file a second name on the same volume, which must not be taken; false where the volume
// keeps one name per file (FAT, exFAT). The change reaches stable storage as MoveTo's does.
bool LinkAs(const std::wstring& path, const std::wstring& name);

// Whether a folder is there and answers: false once its volume has gone (a disk pulled out).
bool FolderAnswers(const std::wstring& path);

// The room on the volume that holds `path`: the bytes this user may still write, and the unit a
// file's length is rounded up to there.
struct Room {
  std::int64_t freeBytes;
  std::int64_t clusterBytes;
};
// Nothing when it cannot be asked (a folder that is not there, say).
std::optional<Room> RoomOn(const std::wstring& path);

}  // namespace mFileSys
