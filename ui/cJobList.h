#pragma once
// List1 and the destination box following the job as the user edits it: each change goes to the
// job (cJob), List1 then shows what became of the list, and the job is saved with the
// destination the box holds.
#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "cBackupControls.h"
#include "cJob.h"
#include "mCommandLine.h"

class cJobList {
 public:
  // `store`: where the job is remembered; none for a one-off job.
  cJobList(cBackupList& list, cBackupControls& view, std::optional<cJobStore> store);
  // The store for a start with this command line.
  static std::optional<cJobStore> StoreFor(const mCommandLine::Request& request);

  // Fills the list and the destination: with the command line's one-off job, or from the job
  // file. Answers a note to show once, when job files were set aside. Throws cFileError.
  std::wstring Start(const mCommandLine::Request& request);
  // Appends as many as the list takes; answers how many.
  std::size_t Add(const std::vector<std::wstring>& paths);
  // Removes one entry and selects the one now in its place (or the new last one).
  void Remove(std::size_t entry);
  void Clear();
  // A volume arrived at `root`: the entries that belong to it, listed under that root.
  mEntryVolumes::Arrival Arrived(const std::wstring& root);
  // Before a run: every entry's volume is looked for; entries whose volume moved are listed
  // where it is now, and those whose volume is not there are left out of the run.
  void Locate();
  // The window's timer that saves a typed destination.
  static constexpr UINT_PTR kSaveTimer = 1;
  // The destination box changed: while it is typed in, the job is saved at most once a second,
  // when `window`'s timer kSaveTimer fires (or at SaveTyped, whichever comes first).
  void DestinationTyped(HWND window);
  // Saves the typed destination, if it waits to be. Throws cFileError.
  void SaveTyped(HWND window);
  // A run has ended: it may have given backups new names, where another source's backups had
  // theirs in its destination.
  void RunEnded() { Save(); }
  bool Remembers() const noexcept { return m_Job.Remembers(); }

 private:
  void ShowMoved(const std::vector<std::size_t>& entries);
  void Save();

  cBackupList& m_List;
  cBackupControls& m_View;
  cJob m_Job;
  bool m_SavePending = false;  // the destination box changed; the save timer runs
};
