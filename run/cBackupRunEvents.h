#pragma once
// The listener of a backup run (cBackupRun): the window's view of the run, or a test's recorder. Called
// synchronously from inside the run's steps; what a handler throws ends the run.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cCopyFileEvents.h"

class cBackupRun;
class cRunProgress;

class cBackupRunEvents : public cCopyFileEvents {
 public:
  // The engine's CopyProgress and CopyComplete come through as they are; the run has counted
  // them already. CopyWaiting is not passed on: Waiting covers it.

  // While the run counts what it will copy: the files found so far.
  virtual void Counting(int files) = 0;
  // Before anything is written: the run would replace `files` backups, which looks like the work
  // of a damaged or encrypted source. True to replace them (each kept as a version), false to
  // copy only the files that have no backup yet.
  virtual bool ConfirmReplacing(int files) = 0;
  // The count is done and copying begins.
  virtual void Counted(const cRunProgress& progress) = 0;
  // A file of the entry begins (copied, or found up to date).
  virtual void FileBegan(std::size_t entry, const cRunProgress& progress) = 0;
  // These entries changed state in the list: backed up, or failed.
  virtual void EntriesChanged(const std::vector<std::size_t>& entries) = 0;
  // A file or folder could not be backed up; the entries that show it changed.
  virtual void FileFailed(const std::vector<std::size_t>& entries) = 0;
  // What became of one file (a file entry, or a file inside a folder entry), for a record of
  // the run; `reason` says why it failed. Whoever keeps no record leaves it alone.
  enum class FileResult { Copied, Unchanged, Failed };
  virtual void FileDone(const std::wstring& /*source*/, FileResult /*result*/, const std::wstring& /*reason*/) {}
  // Another run writes into the destination now: this one waits for it to end. The listener
  // shows that and takes its messages for a while, up to `pause`; the run then tries again.
  virtual void DestinationBusy(std::chrono::milliseconds pause) = 0;
  // Between steps and during every long wait: the one place the listener looks at its messages.
  // `progress`: how far the whole run has come, once counted (none while it counts).
  virtual void Waiting(const cRunProgress* progress) = 0;

 protected:
  ~cBackupRunEvents() = default;
};
