#pragma once
// Where the time of a small file's copy goes: the engine's steps done one by one through the
// file layer over a set of small files, each step timed on its own, beside the whole engine
// and the platform's copy with and without the flush; and the same steps on one thread and on
// as many threads as the engine keeps files in flight, with no run around them.
#include <string>

class cSmallFileSteps {
 public:
  cSmallFileSteps(std::wstring folder, int files, int fileBytes);
  // Prints the figures, medians of rounds.
  void Print(int rounds) const;

 private:
  std::wstring m_Folder;
  int m_Files;
  int m_FileBytes;
};
