#pragma once
// What keeping replaced backups costs: a second run over many changed small files, each copy
// replacing an older backup, once with the older backup moved aside as a version and once with
// it deleted, alternating, and the ratio of the two: one file at a time, and with as many files in
// flight as a run keeps.
#include <cstddef>
#include <string>

class cVersionBench {
 public:
  cVersionBench(std::wstring folder, int files, int fileBytes);
  // Prints the figures, medians of rounds.
  void Print(int rounds) const;

 private:
  // Plants the older backups, then times replacing them all, `lanes` files at a time; with `keep`,
  // each is kept in its own folder of versions for the round.
  double Round(int round, bool keep, std::size_t lanes) const;

  std::wstring m_Folder;
  int m_Files;
  int m_FileBytes;
};
