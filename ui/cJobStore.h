#pragma once
// Where the remembered job lives: one job file, read at start and written whole (through a
// temporary file, flushed, then renamed into place) whenever the job changes.
#include <string>

#include "mJobFile.h"

class cJobStore {
 public:
  explicit cJobStore(std::wstring path);

  struct Loaded {
    mJobFile::Job job;
    bool keptAside = false;  // the file could not be read: it is now <path>.bad, the job empty
  };
  // No file yet is an empty job. Throws cFileError when an unreadable file cannot be kept aside.
  Loaded Load() const;
  // Makes the file's folder when it is not there yet. Throws cFileError.
  void Save(const mJobFile::Job& job) const;
  const std::wstring& Path() const noexcept { return m_Path; }

 private:
  std::wstring m_Path;
};
