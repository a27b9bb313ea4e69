#pragma once
// Where the remembered job lives: one job file, read at start and written whole (through a
// temporary file, flushed, then renamed into place) whenever the job changes. A file that cannot
// be understood is set aside beside it under a number of its own (job.json.1.bad,
// job.json.2.bad, ...), never over an earlier one, until a window has told the user of it.
#include <optional>
#include <string>
#include <vector>

#include "mJobFile.h"

class cJobStore {
 public:
  explicit cJobStore(std::wstring path);

  // The job files set aside that no window has told of yet.
  struct SetAside {
    std::vector<std::wstring> paths;  // oldest first
    unsigned last = 0;                // the newest one's number
  };
  struct Loaded {
    mJobFile::Job job;
    SetAside setAside;  // this load's own included
  };
  // No file yet is an empty job; so is one that cannot be understood, once it is set aside. One
  // that cannot be read (locked for a moment, its folder not reachable yet) is tried again
  // briefly, then throws cFileError, and stays where it is.
  Loaded Load() const;
  // What a window has told of: later loads leave it out. Throws cFileError.
  void Told(const SetAside& told) const;
  // Makes the file's folder when it is not there yet. Throws cFileError.
  void Save(const mJobFile::Job& job) const;
  const std::wstring& Path() const noexcept { return m_Path; }

 private:
  std::optional<std::string> ReadText() const;
  bool NeverWritten() const;
  void SetAsideNow() const;
  std::vector<unsigned> SetAsideNumbers() const;
  unsigned ToldUpTo() const;
  SetAside Untold() const;

  std::wstring m_Path;
};
