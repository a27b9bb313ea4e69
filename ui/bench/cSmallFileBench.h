#pragma once
// Many small files: a real backup run of the window against a CopyFileW loop over the same
// files, with and without a flush of every copy, and against the copy engine alone with 1, 2
// and 4 files in flight, taking turns, medians over the rounds; and the window's second run
// over the same files, all unchanged, against its first.
#include <cstddef>
#include <iterator>
#include <string>

#include "cDialogWatcher.h"

class cSmallFileBench {
 public:
  // The engine's rows: this many files in flight; the last is how the window's run copies.
  static constexpr std::size_t kFlightLanes[] = {1, 2, 4};

  struct Figures {
    double window;       // files per second through the window's run (every copy flushed)
    double copyFlushed;  // CopyFileW then FlushFileBuffers of the copy
    double copyPlain;    // CopyFileW alone
    double engine[std::size(kFlightLanes)];  // the copy engine alone, each row of kFlightLanes
    double firstRun;     // seconds of the window's run into an empty folder
    double againRun;     // seconds of a second run over the same, unchanged files
  };

  cSmallFileBench(std::wstring workFolder, int files, int fileBytes, int rounds);
  Figures Measure(cDialogWatcher& watcher) const;

 private:
  std::wstring m_WorkFolder;
  int m_Files;
  int m_FileBytes;
  int m_Rounds;
};
