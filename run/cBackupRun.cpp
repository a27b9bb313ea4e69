#include "cBackupRun.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "cFileError.h"
#include "cWorker.h"
#include "mFailureReport.h"
#include "mFileHlp.h"
#include "mFileSys.h"
#include "mLeftovers.h"
#include "mVersionPruning.h"

namespace {

// Folder items listed between two looks at the listener's messages.
constexpr int kItemsPerStep = 256;
// How long counting goes on between two looks at the listener's messages.
constexpr auto kCountingSlice = std::chrono::milliseconds(10);

}  // namespace

cBackupRun::cBackupRun(cBackupList& list, const std::wstring& folder, cCopyFile& engine, cBackupRunEvents& listener)
    : m_List(list),
      m_Folder(folder),
      m_Engine(engine),
      m_Listener(listener),
      m_Order(list.StartRun()),
      m_Plan(std::make_unique<cRunPlan>(m_List, m_Order, m_Folder, true)),
      m_FileSystem(m_Plan->DestinationFileSystem()),
      m_DestinationThere(mFileSys::FolderAnswers(folder)),
      m_Start(mVersions::Now()),
      m_EngineListener(engine.Listener()) {
  m_Engine.Listener(this);
}

// One run per destination: nothing there is read or written before its lock is held. A
// destination that cannot hold the lock file (not there, read-only) has nothing to guard.
bool cBackupRun::TakeDestination() {
  cFolderLock::Attempt attempt = cFolderLock::Attempt::NoFolder;
  m_Lock = cFolderLock::TryTake(m_Folder, attempt);
  if (attempt == cFolderLock::Attempt::Busy) {
    const auto now = std::chrono::steady_clock::now();
    if (!m_BusySince) m_BusySince = now;
    if (m_WaitLimit && now - *m_BusySince >= *m_WaitLimit) {
      m_Outcome.destinationBusy = true;
      Finish(false);
      return false;
    }
    m_Listener.DestinationBusy(kBusyPause);
    return false;
  }
  m_DestinationTaken = true;
  if (attempt == cFolderLock::Attempt::Taken) m_Index.emplace(cDestinationIndex::Load(m_Folder, m_List.Fold()));
  Prepare();
  return true;
}

// The destination is the run's: the versions it keeps get a folder no other run has, and what
// earlier runs left there is cleaned up.
void cBackupRun::Prepare() {
  m_Start = mVersions::Now();
  const std::wstring versions = mFileHlp::AddBackslash(m_Folder) + mVersions::kFolderName + L"\\";
  for (int sequence = 1; m_RunFolder.empty() || mFileSys::FolderAnswers(versions + m_RunFolder); ++sequence)
    m_RunFolder = mVersions::RunFolderName(m_Start, sequence);
  if (m_Order.empty()) return;
  // What an earlier run left in the folder when its process was ended in the middle of a copy.
  // Every folder the run lists for its backups is cleaned as it is listed, the folder itself
  // too once a file entry is met; a run of folder entries alone does not list it.
  const auto isFolder = [&](std::size_t entry) { return m_List.IsFolder(entry); };
  if (std::all_of(m_Order.begin(), m_Order.end(), isFolder)) mLeftovers::RemoveIn(m_Folder);
  if (m_Index) {
    mVersionPruning::Prune(m_Folder, m_Start, m_List.Fold(), *m_Index);
    if (m_Index->Changed()) m_Index->Save();
    ClaimNames();  // saved once copying begins: a run that writes nothing leaves no claims
  }
  if (const auto room = mFileSys::RoomOn(m_Folder)) m_ClusterBytes = room->clusterBytes;
}

// A backup belongs to one source: a name another source's backup has in the destination is given
// up for the next free one, and the names this run writes are claimed before anything is written.
void cBackupRun::ClaimNames() {
  for (const std::size_t entry : m_Order) {
    const cDestinationIndex::Source source = SourceOf(entry);
    const auto owner = m_Index->OwnerOf(m_List.DestinationName(entry));
    if (owner && !m_Index->Same(*owner, source)) m_List.Rename(entry, m_Index->Names());
    const std::wstring& name = m_List.DestinationName(entry);
    m_Owners[name] = m_Index->OwnerOf(name);
    m_Index->Claim(name, source);
  }
}

// A source by its volume where that is known, so that a stick under another letter is the same.
cDestinationIndex::Source cBackupRun::SourceOf(std::size_t entry) {
  const std::wstring& source = m_List.Source(entry);
  cBackupList::Volume volume = m_List.VolumeOf(entry);
  if (!volume) volume = (m_Finder ? *m_Finder : m_Finder.emplace()).Of(source);
  if (!volume || volume->root.size() > source.size()) return {std::nullopt, source, {}};
  return {volume->serial, volume->root, source.substr(volume->root.size())};
}

// Which source each kept version was a backup of: the owner of its name before this run, or none
// when no run had made it. A run that never began copying has nothing to record.
void cBackupRun::RecordVersions() {
  if (!m_Index || !m_Progress || m_Outcome.destinationGone) return;
  for (const std::size_t entry : m_Versioned) {
    const std::wstring& name = m_List.DestinationName(entry);
    m_Index->KeptVersion({m_RunFolder, name, m_Owners[name]});
  }
  if (m_Index->Changed()) m_Index->Save();
}

cBackupRun::~cBackupRun() { m_Engine.Listener(m_EngineListener); }

bool cBackupRun::Step() {
  if (m_Over) return false;
  if (m_StopRequested) {
    if (m_InFlight.empty()) {
      Drain();
      return false;
    }
    m_Flight->Stop();
    Land();
    m_Listener.Waiting(Progress());
    return !m_Over;
  }
  if (!m_DestinationTaken && !TakeDestination()) return !m_Over;
  if (!std::exchange(m_UnavailableSaid, true)) SayUnavailable();
  if (m_Progress ? Copy() : Count()) m_Listener.Waiting(Progress());
  return !m_Over;
}

// Entries whose volume is not there this run fail with the reason, and nothing of them is read.
void cBackupRun::SayUnavailable() {
  for (const std::size_t entry : m_List.Unavailable()) {
    m_Listener.FileDone(m_List.Source(entry), cBackupRunEvents::FileResult::Failed, m_List.UnavailableReason(entry));
    m_Listener.FileFailed(m_List.EntriesOf(entry));
  }
}

// Counts the files and bytes the run will copy, for a slice of time.
bool cBackupRun::Count() {
  const auto start = std::chrono::steady_clock::now();
  cRunPlan::Step step;
  do {
    switch (m_Plan->Next(step, kItemsPerStep)) {
      case cRunPlan::Got::Step:
        if (step.kind == cRunPlan::Kind::Copy) Tally(step);
        break;
      case cRunPlan::Got::Busy:
        break;
      case cRunPlan::Got::End:
        return Counted();
    }
  } while (std::chrono::steady_clock::now() - start < kCountingSlice);
  m_Listener.Counting(m_Outcome.files);
  return true;
}

// What a file of the count adds: to the run's size, to the bytes it will write, and to its
// entry's backups and replacements.
void cBackupRun::Tally(const cRunPlan::Step& step) {
  ++m_Outcome.files;
  m_CountedBytes += step.bytes;
  const bool unchanged = cRunPlan::Unchanged(step);
  if (!unchanged && !mRunRules::TooLargeFor(m_FileSystem, step.bytes))
    m_Outcome.neededBytes += mRunRules::SpaceFor(step.bytes, m_ClusterBytes);
  if (!step.backup) return;
  mRunRules::EntryTally& tally = m_Tallies[step.entry];
  ++tally.backups;
  if (!unchanged) {
    ++tally.replaced;
    ++m_Outcome.replacements;
  }
}

// The count is done: a run that does not fit copies nothing, one that looks like the work of a
// damaged source asks first, and then copying begins.
bool cBackupRun::Counted() {
  m_Outcome.counted = true;
  if (const auto room = mFileSys::RoomOn(m_Folder); room && m_Outcome.neededBytes > room->freeBytes) {
    m_Outcome.noRoom = true;
    m_Outcome.freeBytes = room->freeBytes;
    Finish(false);
    return false;
  }
  std::vector<mRunRules::EntryTally> tallies;
  for (const auto& [entry, tally] : m_Tallies) tallies.push_back(tally);
  if (mRunRules::LooksDamaged(tallies)) {
    using Answer = Outcome::Answer;
    m_Outcome.replaceAnswer = m_Listener.ConfirmReplacing(m_Outcome.replacements) ? Answer::Replace : Answer::Skip;
  }
  if (m_Index && m_Index->Changed()) m_Index->Save();
  m_Progress.emplace(m_Outcome.files, m_CountedBytes, cRunProgress::Clock::now());
  auto copying = std::make_unique<cRunPlan>(m_List, m_Order, m_Folder, true);
  // The listings the count just made serve the copies too; not after a question, which may have
  // waited long enough for the sources and backups there to change.
  if (m_Outcome.replaceAnswer == Outcome::Answer::NotAsked) copying->TakeListingOf(*m_Plan);
  m_Plan = std::move(copying);
  m_Listener.Counted(*m_Progress);
  return true;
}

// One step of the plan, or of the files in flight: a file of one chunk is launched while the
// flight has room, and an entry's end takes its place in line behind them; any other step waits
// until every file in flight is done.
bool cBackupRun::Copy() {
  if (!m_Next) {
    cRunPlan::Step step;
    switch (m_Plan->Next(step, kItemsPerStep)) {
      case cRunPlan::Got::Step:
        m_Next = std::move(step);
        break;
      case cRunPlan::Got::Busy:
        return true;
      case cRunPlan::Got::End:
        if (!m_InFlight.empty()) {
          Land();
          return true;
        }
        Finish(false);
        return false;
    }
  }
  if (Flies(*m_Next) && (!m_Flight || m_Flight->Takes(m_Next->bytes)))
    Launch(*std::exchange(m_Next, std::nullopt));
  else if (!m_InFlight.empty() && m_Next->kind == cRunPlan::Kind::EntryDone)
    m_InFlight.push_back(*std::exchange(m_Next, std::nullopt));
  else if (!m_InFlight.empty())
    Land();
  else
    Take(*std::exchange(m_Next, std::nullopt));
  return true;
}

// A file to copy, of one chunk at most.
bool cBackupRun::Flies(const cRunPlan::Step& step) const {
  return step.kind == cRunPlan::Kind::Copy && !cRunPlan::Unchanged(step) &&
         !mRunRules::TooLargeFor(m_FileSystem, step.bytes) &&
         !(step.backup && m_Outcome.replaceAnswer == Outcome::Answer::Skip) &&
         step.bytes <= std::min<std::int64_t>(m_Engine.BufferSize(), cCopyFlight::kLargestFile);
}

void cBackupRun::Launch(cRunPlan::Step step) {
  if (!m_Flight) m_Flight.emplace(m_Engine);
  m_Flight->Launch(step.source, step.destination, mVersions::PathOf(m_Folder, step.destination, m_RunFolder));
  m_InFlight.push_back(std::move(step));
}

// Takes the oldest file in flight once it is done, and then the ends of entries in line behind
// it: each entry is done once its last file is.
void cBackupRun::Land() {
  const std::optional<cCopyFlight::Result> result = m_Flight->TakeOldest(cWorker::kSlice);
  if (!result) return;
  const cRunPlan::Step step = std::move(m_InFlight.front());
  m_InFlight.pop_front();
  LandFile(step, *result);
  // After a stop that cut a copy short no entry is done, as when no file was in flight.
  while (!m_InFlight.empty() && m_InFlight.front().kind == cRunPlan::Kind::EntryDone) {
    const cRunPlan::Step end = std::move(m_InFlight.front());
    m_InFlight.pop_front();
    if (!m_Outcome.stopped) Take(end);
  }
}

// Tells its listener what a copy of its own would have told.
void cBackupRun::LandFile(const cRunPlan::Step& step, const cCopyFlight::Result& result) {
  m_Progress->BeginFile(step.bytes);
  m_Listener.FileBegan(step.entry, *m_Progress);
  try {
    if (result.failure) std::rethrow_exception(result.failure);
  } catch (const cFileError& error) {
    return CopyFailed(step, error);
  }
  m_CopyingEntry = step.entry;
  m_CopyingSource = step.source;
  m_StopSent = result.end == cCopyFlight::Result::End::Stopped;
  if (!m_StopSent && result.bytes > 0) CopyProgress(result.bytes, result.bytes);
  CopyComplete(result.bytes);
  if (step.backup && !m_StopSent) m_Versioned.insert(step.entry);
  m_CopyingEntry.reset();
}

// After a stop: an entry whose every file was backed up before it still counts as backed up;
// anything else left means the stop left it undone.
void cBackupRun::Drain() {
  if (!m_Progress || m_Outcome.stopped) return Finish(true);
  cRunPlan::Step step;
  for (;;) {
    if (m_Next) {
      step = *std::exchange(m_Next, std::nullopt);
    } else {
      const cRunPlan::Got got = m_Plan->Next(step, kItemsPerStep);
      if (got == cRunPlan::Got::End) return Finish(false);
      if (got != cRunPlan::Got::Step) return Finish(true);
    }
    if (step.kind != cRunPlan::Kind::EntryDone) return Finish(true);
    Take(step);
  }
}

void cBackupRun::Take(const cRunPlan::Step& step) {
  try {
    switch (step.kind) {
      case cRunPlan::Kind::Copy:
        return Backup(step);
      case cRunPlan::Kind::CreateFolder:
        return cRunPlan::CreateFolder(step);
      case cRunPlan::Kind::Fail:
        std::rethrow_exception(step.failure);
      case cRunPlan::Kind::Refuse:
        return Failed(step, cSourceGuard::Reason(step.refusal));
      case cRunPlan::Kind::EntryDone:
        // An entry with a replacement left undone is not backed up, nor has it failed.
        if (m_List.StateOf(step.entry) == cBackupList::State::Pending && !m_SkippedEntries.count(step.entry))
          m_Listener.EntriesChanged(m_List.MarkBackedUp(step.entry));
        return;
    }
  } catch (const cFileError& error) {
    CopyFailed(step, error);
  }
}

// A file's or folder's own failure; anything else (the listener's) ends the run. So does a
// destination that has gone: every file left would fail the same way.
void cBackupRun::CopyFailed(const cRunPlan::Step& step, const cFileError& error) {
  m_CopyingEntry.reset();
  if (DestinationGone()) return Finish(false);
  Failed(step, mFailureReport::Reason(error));
}

bool cBackupRun::DestinationGone() {
  m_Outcome.destinationGone = m_DestinationThere && !mFileSys::FolderAnswers(m_Folder);
  return m_Outcome.destinationGone;
}

void cBackupRun::Backup(const cRunPlan::Step& step) {
  m_Progress->BeginFile(step.bytes);
  m_Listener.FileBegan(step.entry, *m_Progress);
  if (cRunPlan::Unchanged(step)) {  // its backup is up to date: nothing to copy
    m_Progress->FileProgress(step.bytes);
    ++m_Outcome.backedUp;
    m_Listener.FileDone(step.source, cBackupRunEvents::FileResult::Unchanged, {});
    return;
  }
  if (mRunRules::TooLargeFor(m_FileSystem, step.bytes)) return Failed(step, mRunRules::TooLargeReason(m_FileSystem));
  if (step.backup && m_Outcome.replaceAnswer == Outcome::Answer::Skip) {
    m_Progress->FileProgress(step.bytes);
    ++m_Outcome.skipped;
    m_SkippedEntries.insert(step.entry);
    return;
  }
  m_CopyingEntry = step.entry;
  m_CopyingSource = step.source;
  m_StopSent = false;
  m_FinishCopy = false;
  m_Engine.CopyFile(step.source, step.destination, mVersions::PathOf(m_Folder, step.destination, m_RunFolder));
  if (step.backup && !m_StopSent) m_Versioned.insert(step.entry);
  m_CopyingEntry.reset();
}

void cBackupRun::Failed(const cRunPlan::Step& step, const std::wstring& reason) {
  m_Listener.FileDone(step.source, cBackupRunEvents::FileResult::Failed, reason);
  m_Listener.FileFailed(m_List.IsFolder(step.entry) ? m_List.MarkFileFailed(step.entry, step.source, reason)
                                                    : m_List.MarkFailed(step.entry, reason));
}

void cBackupRun::Finish(bool stopped) {
  m_Outcome.stopped = m_Outcome.stopped || stopped;
  m_Outcome.links = m_Plan->Links();
  m_Over = true;
  m_Flight.reset();  // what is still in flight after a destination went is stopped and let go
  m_InFlight.clear();
  RecordVersions();
  m_Lock.reset();  // a run waiting for the destination goes on
}

void cBackupRun::CopyProgress(std::int64_t CopyBytes, std::int64_t AllBytes) {
  m_Progress->FileProgress(CopyBytes);
  m_Listener.CopyProgress(CopyBytes, AllBytes);
  m_Listener.Waiting(Progress());
  // A stop ends the copy at its next chunk, which keeps the earlier backup; a file already
  // written in full is finished instead, and the run stops after it.
  if (m_StopRequested && CopyBytes < AllBytes) SendStop();
  if (m_StopRequested && CopyBytes == AllBytes) m_FinishCopy = true;
}

// A stop that comes while the copy is read back ends it there, as one between chunks does.
void cBackupRun::CopyWaiting() {
  m_Listener.Waiting(Progress());
  if (m_StopRequested && !m_FinishCopy) SendStop();
}

void cBackupRun::SendStop() {
  if (std::exchange(m_StopSent, true)) return;
  m_Engine.CopyStop();
}

// A whole copy backs up a file entry; a folder entry is backed up once its last step is done.
void cBackupRun::CopyComplete(std::int64_t AllBytes) {
  if (m_StopSent) {
    m_Outcome.stopped = true;  // a stopped copy is no backup
  } else {
    ++m_Outcome.backedUp;
    if (m_CopyingEntry && !m_List.IsFolder(*m_CopyingEntry)) m_List.MarkBackedUp(*m_CopyingEntry);
    m_Listener.FileDone(m_CopyingSource, cBackupRunEvents::FileResult::Copied, {});
  }
  m_Listener.CopyComplete(AllBytes);
}
