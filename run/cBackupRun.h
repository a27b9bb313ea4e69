#pragma once
// One backup run of a list into a folder, as its own object: it counts what it will copy, then
// takes the plan's steps one at a time through the copy engine, keeps the list's states, the
// counts and the whole run's progress, and tells its listener what happens. The caller drives it
// with Step() and may ask it to stop between any two steps, chunks or pieces of a check: the
// copy under way then keeps its older backup, and nothing further is copied.
//
// Files of one chunk go several at a time (cCopyFlight): the run takes each one's result in the
// list's order and raises its events then, as if it had been copied alone; a step that is not
// such a copy (a larger file, a folder, an entry's end) waits until the files in flight are done.
//
// One run writes into a destination at a time: the run takes the destination's lock before it
// reads or writes anything there, and while another run holds it, waits (telling its listener),
// as long as the caller allows.
//
// A backup the run replaces is kept in the destination's versions folder (mVersions), whose old
// versions go when the run starts. Once counted and before it writes anything, the run copies
// nothing when it does not fit the destination's free space, and asks its listener first when it
// looks like the work of a damaged source (mRunRules). A destination that goes away during the run
// ends it at once.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "cBackupList.h"
#include "cBackupRunEvents.h"
#include "cCopyFile.h"
#include "cCopyFlight.h"
#include "cDestinationIndex.h"
#include "cFolderLock.h"
#include "cRunPlan.h"
#include "cRunOutcome.h"
#include "cRunProgress.h"
#include "cVolumeFinder.h"
#include "mRunRules.h"
#include "mVersions.h"

class cFileError;

class cBackupRun : private cCopyFileEvents {
 public:
  using Outcome = cRunOutcome;

  // How long to wait for another run into the destination to end, and how often to try.
  static constexpr std::chrono::milliseconds kBusyPause{250};

  // A run of the entries of `list` not yet backed up, into `folder`, through `engine`, whose
  // listener it is until it goes. Earlier failures in the list are forgotten.
  cBackupRun(cBackupList& list, const std::wstring& folder, cCopyFile& engine, cBackupRunEvents& listener);
  ~cBackupRun();
  cBackupRun(const cBackupRun&) = delete;
  cBackupRun& operator=(const cBackupRun&) = delete;

  // Does the next piece of the run: some counting, or one step of the plan. False once the run
  // is over.
  bool Step();
  // Takes effect at the next chunk, piece of a check, or step.
  void Stop() noexcept { m_StopRequested = true; }
  // Gives up after waiting this long for another run into the destination (by default the run
  // waits until it is stopped).
  void WaitAtMost(std::chrono::steady_clock::duration limit) { m_WaitLimit = limit; }

  // Once counted: how far the whole run has come.
  const cRunProgress* Progress() const noexcept { return m_Progress ? &*m_Progress : nullptr; }
  const Outcome& Result() const noexcept { return m_Outcome; }

 private:
  void CopyProgress(std::int64_t CopyBytes, std::int64_t AllBytes) override;
  void CopyComplete(std::int64_t AllBytes) override;
  void CopyWaiting() override;

  bool TakeDestination();
  void Prepare();
  void ClaimNames();
  cDestinationIndex::Source SourceOf(std::size_t entry);
  void RecordVersions();
  void SayUnavailable();
  bool Count();
  void Tally(const cRunPlan::Step& step);
  bool Counted();
  bool Copy();
  bool Flies(const cRunPlan::Step& step) const;
  void Launch(cRunPlan::Step step);
  void Land();
  void LandFile(const cRunPlan::Step& step, const cCopyFlight::Result& result);
  void Drain();
  void SendStop();
  void Take(const cRunPlan::Step& step);
  void Backup(const cRunPlan::Step& step);
  void CopyFailed(const cRunPlan::Step& step, const cFileError& error);
  void Failed(const cRunPlan::Step& step, const std::wstring& reason);
  bool DestinationGone();
  void BackedUp(std::size_t entry);
  void Finish(bool stopped);

  cBackupList& m_List;
  std::wstring m_Folder;
  cCopyFile& m_Engine;
  cBackupRunEvents& m_Listener;
  std::vector<std::size_t> m_Order;
  std::unique_ptr<cRunPlan> m_Plan;  // counting first, then the one that copies
  std::optional<cRunProgress> m_Progress;
  std::int64_t m_CountedBytes = 0;
  std::int64_t m_ClusterBytes = 1;  // the destination's unit of room
  std::wstring m_FileSystem;        // the destination's
  bool m_DestinationThere;          // when the run started
  mVersions::LocalTime m_Start;     // names the folder of the versions this run keeps
  std::wstring m_RunFolder;          // that folder's name, once the destination is taken
  std::optional<cFolderLock> m_Lock;  // the destination's, while the run holds it
  bool m_DestinationTaken = false;    // locked, or there was nothing to lock
  // What the destination remembers of its backups' sources, once it is the run's.
  std::optional<cDestinationIndex> m_Index;
  std::map<std::wstring, std::optional<cDestinationIndex::Source>> m_Owners;  // by name, before this run
  std::set<std::size_t> m_Versioned;  // entries with a backup kept as a version
  std::optional<cVolumeFinder> m_Finder;  // for sources added without their volume
  std::optional<std::chrono::steady_clock::time_point> m_BusySince;
  std::optional<std::chrono::steady_clock::duration> m_WaitLimit;
  std::map<std::size_t, mRunRules::EntryTally> m_Tallies;  // by entry, as counted
  std::set<std::size_t> m_SkippedEntries;  // entries with a replacement left undone
  std::optional<cRunPlan::Step> m_Next;  // a step that waits for the files in flight
  std::optional<cCopyFlight> m_Flight;   // made at the first file of one chunk
  // The steps of its copies, oldest first, with the ends of entries in line between them; a
  // copy is always first.
  std::deque<cRunPlan::Step> m_InFlight;
  std::optional<std::size_t> m_CopyingEntry;  // the entry whose file the engine copies now
  std::wstring m_CopyingSource;               // and that file
  bool m_StopRequested = false;
  bool m_StopSent = false;  // the copy under way was told to stop
  bool m_FinishCopy = false;  // the stop came with the copy's last chunk: it is finished first
  bool m_Over = false;
  bool m_UnavailableSaid = false;
  Outcome m_Outcome;
  cCopyFileEvents* m_EngineListener;  // the engine's listener before the run, given back after it
};
