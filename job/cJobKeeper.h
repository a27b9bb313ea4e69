#pragma once
// The remembered job beside the list the window shows: restored into the list at start, with
// no marks, and written again whenever the list or the destination changes. A one-off job has
// no store and is not remembered.
#include <optional>
#include <string>

#include "cBackupList.h"
#include "cJobStore.h"

class cJobKeeper {
 public:
  explicit cJobKeeper(std::optional<cJobStore> store);

  struct Restored {
    std::wstring destination;
    std::wstring note;  // what to tell the user once: job files set aside, and where
  };
  // Fills the empty list from the job file. What was set aside is said once: an `unattended`
  // start leaves it for the next window. A job file that cannot be read throws cFileError, and
  // is then not written for the rest of the session.
  Restored Restore(cBackupList& list, bool unattended = false);
  // Writes the job when it differs from what was written last. Throws cFileError.
  void Changed(const cBackupList& list, const std::wstring& destination);
  bool Remembers() const noexcept { return m_Store.has_value(); }
  const std::wstring& Path() const;

 private:
  void Take(cBackupList& list, const mJobFile::Job& job);

  std::optional<cJobStore> m_Store;
  std::optional<mJobFile::Job> m_Saved;
};
