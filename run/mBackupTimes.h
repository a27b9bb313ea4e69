#pragma once
// When a backup counts as the same as its source: the same length, and last-write times equal
// as far as the coarser of the two volumes keeps them. FAT keeps 2 s, exFAT 10 ms, the others
// (NTFS, and what Wine reports for Unix file systems) 100 ns. FAT also keeps local time, so a
// backup there reads an hour off after a daylight-saving change without having changed.
#include <cstdint>
#include <string>

#include "mFileSys.h"

namespace mBackupTimes {

// A file's length and last-write time (100 ns ticks).
using Stamp = mFileSys::FileStamp;

// How two volumes' times compare.
struct Comparison {
  std::uint64_t window = 1;  // ticks: times closer than this are the same
  bool hourShift = false;    // a difference of one hour is no change either
};

// From the file system names the volumes report ("NTFS", "FAT32", "exFAT", ...).
Comparison Between(const std::wstring& sourceFileSystem, const std::wstring& backupFileSystem);
bool Unchanged(const Stamp& source, const Stamp& backup, const Comparison& how);

}  // namespace mBackupTimes
