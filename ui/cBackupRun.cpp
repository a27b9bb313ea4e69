#include "cBackupRun.h"

#include <chrono>
#include <utility>

#include "cFileError.h"
#include "mLeftovers.h"
#include "mFailureReport.h"

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
      m_Plan(std::make_unique<cRunPlan>(m_List, m_Order, m_Folder, false)),
      m_EngineListener(engine.Listener()) {
  m_Engine.Listener(this);
  // What an earlier run left in the folder when its process was ended in the middle of a copy;
  // the folders below are cleaned as the run lists them.
  if (!m_Order.empty()) mLeftovers::RemoveIn(m_Folder);
}

cBackupRun::~cBackupRun() { m_Engine.Listener(m_EngineListener); }

bool cBackupRun::Step() {
  if (m_Over) return false;
  if (m_StopRequested) {
    Drain();
    return false;
  }
  if (m_Progress ? Copy() : Count()) m_Listener.Waiting();
  return !m_Over;
}

// Counts the files and bytes the run will copy, for a slice of time.
bool cBackupRun::Count() {
  const auto start = std::chrono::steady_clock::now();
  cRunPlan::Step step;
  do {
    switch (m_Plan->Next(step, kItemsPerStep)) {
      case cRunPlan::Got::Step:
        if (step.kind == cRunPlan::Kind::Copy) {
          ++m_Outcome.files;
          m_CountedBytes += step.bytes;
        }
        break;
      case cRunPlan::Got::Busy:
        break;
      case cRunPlan::Got::End:
        m_Outcome.counted = true;
        m_Progress.emplace(m_Outcome.files, m_CountedBytes, cRunProgress::Clock::now());
        m_Plan = std::make_unique<cRunPlan>(m_List, m_Order, m_Folder, true);
        m_Listener.Counted(*m_Progress);
        return true;
    }
  } while (std::chrono::steady_clock::now() - start < kCountingSlice);
  m_Listener.Counting(m_Outcome.files);
  return true;
}

bool cBackupRun::Copy() {
  cRunPlan::Step step;
  switch (m_Plan->Next(step, kItemsPerStep)) {
    case cRunPlan::Got::Step:
      Take(step);
      return true;
    case cRunPlan::Got::Busy:
      return true;
    case cRunPlan::Got::End:
      break;
  }
  Finish(false);
  return false;
}

// After a stop: an entry whose every file was backed up before it still counts as backed up;
// anything else left means the stop left it undone.
void cBackupRun::Drain() {
  if (!m_Progress || m_Outcome.stopped) return Finish(true);
  cRunPlan::Step step;
  for (;;) {
    const cRunPlan::Got got = m_Plan->Next(step, kItemsPerStep);
    if (got == cRunPlan::Got::End) return Finish(false);
    if (got != cRunPlan::Got::Step || step.kind != cRunPlan::Kind::EntryDone) return Finish(true);
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
        if (m_List.StateOf(step.entry) == cBackupList::State::Pending) m_Listener.EntriesChanged(m_List.MarkBackedUp(step.entry));
        return;
    }
  } catch (const cFileError& error) {
    // A file's or folder's own failure; anything else (the listener's) ends the run.
    m_CopyingEntry.reset();
    Failed(step, mFailureReport::Reason(error));
  }
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
  m_CopyingEntry = step.entry;
  m_CopyingSource = step.source;
  m_StopSent = false;
  m_FinishCopy = false;
  m_Engine.CopyFile(step.source, step.destination);
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
}

void cBackupRun::CopyProgress(std::int64_t CopyBytes, std::int64_t AllBytes) {
  m_Progress->FileProgress(CopyBytes);
  m_Listener.CopyProgress(CopyBytes, AllBytes);
  m_Listener.Waiting();
  // A stop ends the copy at its next chunk, which keeps the earlier backup; a file already
  // written in full is finished instead, and the run stops after it.
  if (m_StopRequested && CopyBytes < AllBytes) SendStop();
  if (m_StopRequested && CopyBytes == AllBytes) m_FinishCopy = true;
}

// A stop that comes while the copy is read back ends it there, as one between chunks does.
void cBackupRun::CopyWaiting() {
  m_Listener.Waiting();
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
