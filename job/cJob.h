#pragma once
// The job as the user edits it: the backup list, each entry with its volume, and the destination.
// Each change answers what became of the list, so that whoever shows the list can follow it
// first; Save then writes the job file when what it would hold changed (a one-off job is not
// remembered).
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "cBackupList.h"
#include "cJobKeeper.h"
#include "cVolumeFinder.h"
#include "mEntryVolumes.h"

class cJob {
 public:
  // `store`: where the job is remembered; none for a one-off job. `volumes`: how the volumes of
  // the entries are asked.
  cJob(cBackupList& list, std::optional<cJobStore> store, cVolumeFinder::System volumes = cVolumeFinder::ThisMachine());

  // Fills the empty list from the job file. Throws cFileError (see cJobKeeper::Restore).
  cJobKeeper::Restored Restore(bool unattended);
  // Appends as many as the list takes, each with its volume; answers how many.
  std::size_t Add(const std::vector<std::wstring>& paths);
  void Remove(std::size_t entry) { m_List.Remove(entry); }
  void Clear() { m_List.Clear(); }
  // A volume arrived at `root`: the entries that belong to it, listed under that root.
  mEntryVolumes::Arrival Arrived(const std::wstring& root);
  // Before a run: every entry's volume is looked for; answers the entries listed where their
  // volume is now. Those whose volume is not there are left out of the run.
  std::vector<std::size_t> Locate();
  // The list with `destination`, written when it differs from what was written last. Throws
  // cFileError.
  void Save(const std::wstring& destination) { m_Keeper.Changed(m_List, destination); }
  bool Remembers() const noexcept { return m_Keeper.Remembers(); }

 private:
  cVolumeFinder Finder() const { return cVolumeFinder(m_Volumes); }

  cBackupList& m_List;
  cJobKeeper m_Keeper;
  cVolumeFinder::System m_Volumes;
};
