#pragma once
// The list of files to back up, as the window shows it: the entries in the user's order, the
// destination name of each and how far it has come. The same source listed twice is one backup
// (one destination file, copied once per run); every entry of it shows the same state.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "cGivenNames.h"
#include "mBackupNames.h"
#include "mFailureReport.h"
#include "mSourceVolume.h"

class cBackupList {
 public:
  enum class State { Pending, BackedUp, Failed };

  // The list box counts and indexes its entries in 16 bits.
  static constexpr std::size_t kMaxEntries = 32767;

  // `fold` compares names and paths as the file system does (without regard to case);
  // `rootName` names the backup of a drive root.
  explicit cBackupList(mBackupNames::Fold fold, mBackupNames::RootName rootName = {});

  using Volume = std::optional<mSourceVolume::Volume>;

  // Appends sources as long as there is room; returns how many were taken, in order. `names`,
  // where given, are the names their backups had in an earlier session: each is kept unless
  // another backup has it already. `volumes`, where given, are the volumes the sources belong to.
  std::size_t Add(const std::vector<std::wstring>& sources, const std::vector<std::wstring>& names = {},
                  const std::vector<Volume>& volumes = {});
  // Takes an entry out of the list; the entries after it move up by one. A backup keeps its name
  // for the rest of the session, so a source listed again goes to its earlier backup.
  void Remove(std::size_t entry);
  void Clear();
  // Back to a new list: no entries, and no names given in this session.
  void Forget();

  std::size_t Count() const noexcept { return m_Entries.size(); }
  // Every backup's source, once each, in the order of their first entries.
  std::vector<std::wstring> Sources() const;
  // How the list compares names and paths.
  const mBackupNames::Fold& Fold() const noexcept { return m_Fold; }
  // The path as the entry was added (entries of one backup may differ in case).
  const std::wstring& Source(std::size_t entry) const { return m_Entries.at(entry).source; }
  // A folder entry backs up everything inside it; its source ends in a backslash.
  bool IsFolder(std::size_t entry) const { return mBackupNames::IsFolder(Source(entry)); }
  // The name the entry's backup (file or folder) has in the destination folder.
  const std::wstring& DestinationName(std::size_t entry) const { return BackupOf(entry).name; }
  State StateOf(std::size_t entry) const { return BackupOf(entry).state; }
  // Every entry that shows the same backup as this one, in list order.
  const std::vector<std::size_t>& EntriesOf(std::size_t entry) const { return BackupOf(entry).entries; }
  // The entry's backup cannot have its name in the destination of a run: another source's backup
  // has it there. It takes the next free name, none of `taken`, given in no other backup's
  // stead; answers the new name.
  const std::wstring& Rename(std::size_t entry, const std::vector<std::wstring>& taken);
  // The volume the entry's source belongs to, when it was known as it was added.
  const Volume& VolumeOf(std::size_t entry) const { return BackupOf(entry).volume; }
  // The volume with `serial` is now at `root`: the sources on it are listed under that root.
  // Answers the entries whose text changed.
  std::vector<std::size_t> MoveVolume(std::uint32_t serial, const std::wstring& root);
  // The entry's source cannot be reached this run (its volume is not there): the next run
  // fails it with `reason` instead of copying it. Holds until ClearUnavailable.
  void SetUnavailable(std::size_t entry, std::wstring reason);
  void ClearUnavailable();
  // The first entry of each backup that cannot be reached, in list order, and why.
  std::vector<std::size_t> Unavailable() const;
  const std::wstring& UnavailableReason(std::size_t entry) const { return BackupOf(entry).unavailable; }
  // What the list shows: the source's full path, with "√" in front once backed up.
  std::wstring Text(std::size_t entry) const;

  // Starts a run: earlier failures are forgotten, backups that cannot be reached fail with their
  // reasons, and the answer is the entries to copy, the first entry of each backup not yet made,
  // in list order.
  std::vector<std::size_t> StartRun();
  // Records the outcome of copying an entry's backup; answers every entry that shows it.
  const std::vector<std::size_t>& MarkBackedUp(std::size_t entry);
  const std::vector<std::size_t>& MarkFailed(std::size_t entry, std::wstring reason);
  // A file inside a folder entry failed: the entry fails, and the file is listed on its own.
  const std::vector<std::size_t>& MarkFileFailed(std::size_t entry, std::wstring file, std::wstring reason);
  // The files that failed in the last run, in list order, with their reasons: a file entry's
  // source, or each failed file inside a folder entry.
  std::vector<mFailureReport::Failure> Failures() const;

 private:
  struct Backup {
    std::wstring source;
    std::wstring name;
    State state = State::Pending;
    std::wstring reason;
    std::vector<mFailureReport::Failure> files;  // failed files inside a folder
    std::vector<std::size_t> entries;  // the list entries that show this backup; none once removed
    std::wstring earlierName;  // given in an earlier session
    Volume volume;
    std::wstring unavailable;  // why it cannot be reached this run
  };

  struct Entry {
    std::wstring source;
    std::size_t backup;
  };

  const Backup& BackupOf(std::size_t entry) const { return m_Backups[m_Entries.at(entry).backup]; }
  const std::vector<std::size_t>& SetState(std::size_t entry, State state, std::wstring reason);
  void NameNewBackups(std::size_t first);
  std::wstring OwnName(const Backup& backup) const;

  mBackupNames::Fold m_Fold;
  mBackupNames::RootName m_RootName;
  cGivenNames m_Names;  // every name given in this session
  std::vector<Backup> m_Backups;  // in the order of their first entries
  std::vector<Entry> m_Entries;
  std::unordered_map<std::wstring, std::size_t> m_BySource;  // folded source -> its backup
};
