#pragma once
// What a backup run does, worked out before it starts: for each backup to make, in list order,
// the folders to create and the files to copy with their lengths. A file entry is one copy; a
// folder entry is its own folder in the destination and everything inside it, at any depth,
// empty folders included. Junctions and symbolic links inside are not followed.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cBackupList.h"

class cRunPlan {
 public:
  enum class Kind {
    Copy,          // copy `source` to `destination`
    CreateFolder,  // make the folder `destination` (`source` is the folder it backs up)
    Fail,          // `source` could not be read: the step fails with `failure`
  };

  // A file's length and last-write time (FILETIME's 100 ns ticks).
  struct Stamp {
    std::int64_t bytes;
    std::uint64_t written;
  };

  struct Step {
    std::size_t entry;  // the list entry whose backup this is part of
    Kind kind;
    std::wstring source;
    std::wstring destination;
    std::int64_t bytes = 0;
    std::exception_ptr failure;
    bool lastOfEntry = false;  // the entry's backup is complete once this step is
    std::optional<Stamp> backup;  // a Copy's destination, as the run found it when planned
  };

  // Plans the backups of `order` (entries of `list`) into `folder`.
  cRunPlan(const cBackupList& list, const std::vector<std::size_t>& order, const std::wstring& folder);

  const std::vector<Step>& Steps() const noexcept { return m_Steps; }
  // The files the run copies, and their bytes.
  int Files() const noexcept { return m_Files; }
  std::int64_t Bytes() const noexcept { return m_Bytes; }

  // Whether the destination already holds this copy's backup: the same length and last-write
  // time as the source has now. Such a file is not copied again. The backups' stamps come from
  // one listing of each destination folder: under Wine every lookup of a name that is not there
  // reads the whole folder.
  static bool Unchanged(const Step& step);
  // Makes a CreateFolder step's folder; one that is there already will do. Throws cFileError.
  static void CreateFolder(const Step& step);

 private:
  void AddFile(std::size_t entry, const std::wstring& source, const std::wstring& destination);
  void AddFolder(std::size_t entry, const std::wstring& source, const std::wstring& destination, bool root);
  void AddCopy(std::size_t entry, const std::wstring& source, const std::wstring& destination, std::int64_t bytes);
  std::optional<Stamp> BackupOf(const std::wstring& destination);

  std::vector<Step> m_Steps;
  // The names in each destination folder met so far, case folded, each folder listed once.
  std::map<std::wstring, std::map<std::wstring, Stamp>> m_Existing;
  int m_Files = 0;
  std::int64_t m_Bytes = 0;
};
