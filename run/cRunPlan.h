#pragma once
// What a backup run does, step by step, worked out as the run goes: for each backup to make, in
// list order, the folders to create and the files to copy. A file entry is one copy; a folder
// entry is its own folder in the destination and everything inside it, at any depth, empty
// folders included. The tree is walked with a stack of the folders being listed, so that memory
// holds the current path and what is left of each folder on it, never a record per file, and a
// caller can paint, answer and stop between any two pieces of listing.
//
// Junctions and symbolic links inside are not followed: the plan names them. No step writes over
// a listed source (cSourceGuard), and names inside a folder that differ only in case get
// backups of their own.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <map>
#include <memory>
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
    Fail,          // the folder `source` could not be listed: the step fails with `failure`
    Refuse,        // writing `destination` would harm a listed source: the step fails with `refusal`
    EntryDone,     // every step of the entry has been given
  };

  using Stamp = mBackupTimes::Stamp;

  struct Step {
    std::size_t entry = 0;  // the list entry whose backup this is part of
    Kind kind = Kind::Copy;
    std::wstring source;
    std::wstring destination;
    std::int64_t bytes = 0;
    std::exception_ptr failure;
    std::optional<Stamp> stamp;      // a Copy's source as the plan found it, just before the step
    std::optional<Stamp> backup;     // its destination as the plan found it, when it looked
    mBackupTimes::Comparison times;  // how the source's and the backup's volumes compare times
    cSourceGuard::Refusal refusal = cSourceGuard::Refusal::None;
  };

  enum class Got { Step, Busy, End };

  // Plans the backups of `order` (entries of `list`) into `folder`. With `lookAtBackups` each
  // destination folder is listed once, when the walk first writes into it, for the stamps of
  // the backups there; the temporary files of ended copies found there go at the same time.
  cRunPlan(const cBackupList& list, std::vector<std::size_t> order, const std::wstring& folder, bool lookAtBackups);
  ~cRunPlan();
  cRunPlan(const cRunPlan&) = delete;
  cRunPlan& operator=(const cRunPlan&) = delete;

  // Takes over the listings read whole by the plan that counted the run just before: the
  // destination folder's own and those of the folders many file entries come from, so that no
  // folder is listed twice in a row.
  void TakeListingOf(cRunPlan& counted);
  // The next step. Busy when `budget` folder items were listed before one was found: call again.
  Got Next(Step& step, int budget);
  // The name of the destination volume's file system ("NTFS", "FAT32", ...); empty when unknown.
  const std::wstring& DestinationFileSystem() const noexcept { return m_BaseFileSystem; }
  // The junctions and symbolic links met so far.
  const std::vector<std::wstring>& Links() const noexcept { return m_Links; }

  // Whether the destination already holds this copy's backup: the same length and last-write
  // time as the source. Such a file is not copied again. Both stamps were taken as the step was
  // given, which is right before the run takes it.
  static bool Unchanged(const Step& step);
  // Makes a CreateFolder step's folder; one that is there already will do. Throws cFileError.
  static void CreateFolder(const Step& step);

 private:
  class cBackups;
  struct Frame;
  struct Entry {
    std::size_t index;
    std::wstring source;
    mBackupTimes::Comparison times;
  };

  bool StartEntry(Step& step);
  bool StartFolder(const std::wstring& source, const std::wstring& destination, Step& step);
  bool Walk(Frame& frame, Step& step, int& budget);
  bool ListSource(Frame& frame, int& budget);
  void NameItems(Frame& frame);
  bool FileStep(const std::wstring& source, const std::wstring& destination, const std::optional<Stamp>& stamp,
                const std::optional<Stamp>& backup, Step& step);
  Step NewStep(Kind kind, const std::wstring& source, const std::wstring& destination) const;
  const std::wstring& FileSystemOf(const std::wstring& path);
  cBackups* SourceFolderOf(const std::wstring& source);

  const cBackupList& m_List;
  std::vector<std::size_t> m_Order;
  std::size_t m_NextEntry = 0;
  std::wstring m_Base;  // the destination folder, with its final backslash
  bool m_LookAtBackups;
  cSourceGuard m_Guard;
  const mBackupNames::Fold& m_Fold;  // the list's, which outlives the plan and the listings it hands on
  std::wstring m_BaseFileSystem;
  std::optional<Entry> m_Entry;              // the entry being walked
  std::vector<std::unique_ptr<Frame>> m_Frames;  // the folders being walked, outermost first
  std::unique_ptr<cBackups> m_BaseBackups;   // the destination folder's own, for file entries
  std::map<std::wstring, std::wstring> m_FileSystems;  // by folder entries come from
  std::map<std::wstring, std::unique_ptr<cBackups>> m_SourceFolders;  // listed for their file entries
  std::vector<std::wstring> m_Links;
};
