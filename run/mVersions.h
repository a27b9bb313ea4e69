#pragma once
// Where a backup that a run replaces is kept, and which of the kept ones go. A replaced backup
// moves to "<destination>\_版本\<the run's start>\<its path below the destination>", the run's
// start written "2026-12-08 174500" in local time. When a run into the destination starts, run
// folders older than 30 days go, but for the newest version of each file, which always stays.
#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "mBackupNames.h"

namespace mVersions {

// The folder below the destination that holds the kept versions.
inline constexpr wchar_t kFolderName[] = L"_版本";
// Run folders older than this many days go when a run starts.
inline constexpr int kKeptDays = 30;

// A moment of the local clock, to the second.
struct LocalTime {
  int year = 1970, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

// The local time now.
LocalTime Now();
// A moment of the system clock in local time.
LocalTime At(std::time_t time);
// Seconds from 1970-01-01 00:00:00 of the same clock, for comparing two local times.
std::int64_t Seconds(const LocalTime& time);
// "2026-12-08 174500"; a later run that started in the same second takes "2026-12-08 174500 (2)"
// and so on, so that two runs never keep their versions in one folder.
std::wstring RunFolderName(const LocalTime& start, int sequence = 1);
// The time a run folder's name gives; nothing for a name not of that form.
std::optional<LocalTime> RunStartOf(const std::wstring& folderName);

// Where `backup`, a path below the folder `destination`, is kept by the run whose folder of
// versions is `runFolder` (a RunFolderName).
std::wstring PathOf(const std::wstring& destination, const std::wstring& backup, const std::wstring& runFolder);

// What a run folder holds: the paths below it of its files and of its folders.
struct RunFolder {
  std::wstring name;
  std::vector<std::wstring> files;
  std::vector<std::wstring> folders;
};

// Whether a run folder started at `start` is old enough at `now` for its versions to go.
bool IsOld(const LocalTime& start, const LocalTime& now);

// Of which source a kept file ("<run>", "<its path below the run folder>") was a backup, as a key
// that is the same for the same source; nothing when that is not known.
using SourceOf = std::function<std::optional<std::wstring>(const std::wstring& run, const std::wstring& file)>;

// What goes of the kept versions at `now`: paths below the versions folder ("<run>\a\b.txt",
// "<run>\a", "<run>"), each folder after everything in it. A version goes only when its run is
// old and a newer run kept a version of the same file from the same source: a file's newest
// version always stays, and so does every version whose source is not known, or that is its
// source's last copy here. A folder whose name is no run's start is left alone.
std::vector<std::wstring> Pruned(const std::vector<RunFolder>& runs, const LocalTime& now, const mBackupNames::Fold& fold,
                                 const SourceOf& sourceOf);

}  // namespace mVersions
