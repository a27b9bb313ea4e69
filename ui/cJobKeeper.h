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
    std::wstring note;  // to tell the user once: the job file could not be read
  };
  // Fills the empty list from the job file. Throws cFileError.
  Restored Restore(cBackupList& list);
  // Writes the job when it differs from what was written last. Throws cFileError.
  void Changed(const cBackupList& list, const std::wstring& destination);
  bool Remembers() const noexcept { return m_Store.has_value(); }
  const std::wstring& Path() const;

 private:
  void Take(cBackupList& list, const mJobFile::Job& job);

  std::optional<cJobStore> m_Store;
  std::optional<mJobFile::Job> m_Saved;
};
