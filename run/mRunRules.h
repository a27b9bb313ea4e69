#pragma once
// The checks a run makes once it has counted and before it writes anything: whether it looks like
// the work of a damaged or encrypted source (it would replace many backups, and most of one
// entry's), whether what it writes fits the destination's free space, and whether a file is too
// large for the destination's file system.
#include <cstdint>
#include <string>
#include <vector>

namespace mRunRules {

// A run that replaces at least this many backups may have a damaged source.
inline constexpr int kManyReplacements = 20;

// One entry's files that have a backup, and of those the ones whose backup the run would replace.
struct EntryTally {
  int backups = 0;
  int replaced = 0;
};

// At least kManyReplacements replacements in all, and more than half of one entry's backups.
bool LooksDamaged(const std::vector<EntryTally>& entries);

// What a file of `bytes` takes on a volume that gives room in units of `clusterBytes`.
std::int64_t SpaceFor(std::int64_t bytes, std::int64_t clusterBytes);

// A FAT volume holds no file of 4 GiB or more.
bool TooLargeFor(const std::wstring& fileSystem, std::int64_t bytes);
// Why such a file is not copied.
std::wstring TooLargeReason(const std::wstring& fileSystem);

// A size as Explorer shows one: "512 字节", "1.5 KB", "12.3 MB", "4.00 GB".
std::wstring SizeText(std::int64_t bytes);

}  // namespace mRunRules
