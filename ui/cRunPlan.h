#pragma once
// What a backup run does, worked out before it starts: for each backup to make, in list order,
// the folders to create and the files to copy with their lengths. A file entry is one copy; a
// folder entry is its own folder in the destination and everything inside it, at any depth,
// empty folders included. Junctions and symbolic links inside are not followed: the plan names
// them. No step writes over a listed source (cSourceGuard), and names inside a folder that
// differ only in case get backups of their own.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cBackupList.h"
#include "cSourceGuard.h"
#include "mBackupTimes.h"

class cRunPlan {
 public:
  enum class Kind {
    Copy,          // copy `source` to `destination`
    CreateFolder,  // make the folder `destination` (`source` is the folder it backs up)
    Fail,          // `source` could not be read: the step fails with `failure`
    Refuse,        // writing `destination` would harm a listed source: the step fails with `refusal`
  };

  using Stamp = mBackupTimes::Stamp;

  struct Step {
    std::size_t entry;  // the list entry whose backup this is part of
    Kind kind;
    std::wstring source;
    std::wstring destination;
    std::int64_t bytes = 0;
    std::exception_ptr failure;
    bool lastOfEntry = false;  // the entry's backup is complete once this step is
    std::optional<Stamp> backup;  // a Copy's destination, as the run found it when planned
    mBackupTimes::Comparison times;  // how the source's and the backup's volumes compare times
    cSourceGuard::Refusal refusal = cSourceGuard::Refusal::None;
  };

  // Plans the backups of `order` (entries of `list`) into `folder`.
  cRunPlan(const cBackupList& list, const std::vector<std::size_t>& order, const std::wstring& folder);

  const std::vector<Step>& Steps() const noexcept { return m_Steps; }
  // The files the run copies, and their bytes.
  int Files() const noexcept { return m_Files; }
  std::int64_t Bytes() const noexcept { return m_Bytes; }
  // The junctions and symbolic links inside folder entries that the run leaves alone.
  const std::vector<std::wstring>& Links() const noexcept { return m_Links; }

  // Whether the destination already holds this copy's backup: the same length and last-write
  // time as the source has now. Such a file is not copied again. The backups' stamps come from
  // one listing of each destination folder: under Wine every lookup of a name that is not there
  // reads the whole folder.
  static bool Unchanged(const Step& step);
  // Makes a CreateFolder step's folder; one that is there already will do. Throws cFileError.
  static void CreateFolder(const Step& step);

 private:
  struct Context {
    std::size_t entry;
    std::wstring root;  // the entry's source
    mBackupTimes::Comparison times;
  };

  void AddFile(const Context& entry, const std::wstring& source, const std::wstring& destination);
  void AddFolder(const Context& entry, const std::wstring& source, const std::wstring& destination);
  void AddWalk(const Context& entry, const std::wstring& source, const std::wstring& destination);
  void AddCopy(const Context& entry, const std::wstring& source, const std::wstring& destination, std::int64_t bytes);
  bool Refused(const Context& entry, const std::wstring& source, const std::wstring& destination);
  std::optional<Stamp> BackupOf(const std::wstring& destination);
  const std::wstring& FileSystemOf(const std::wstring& path);

  cSourceGuard m_Guard;
  mBackupNames::Fold m_Fold;
  std::vector<Step> m_Steps;
  // The names in each destination folder met so far, case folded, each folder listed once.
  std::map<std::wstring, std::map<std::wstring, Stamp>> m_Existing;
  std::map<std::wstring, std::wstring> m_FileSystems;  // by volume root
  std::vector<std::wstring> m_Links;
  int m_Files = 0;
  std::int64_t m_Bytes = 0;
};
