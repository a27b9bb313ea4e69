#pragma once
// Keeps a run's writes off the files it backs up. Every write lands in the destination folder's
// tree; one is refused where it would land on a listed file, or on or inside a listed folder
// that lies in that tree. A listed folder that holds the destination is backed up around it: its
// walk leaves the destination out, so that no run copies the previous backup one level deeper.
#include <string>
#include <unordered_set>
#include <vector>

#include "mBackupNames.h"

class cSourceGuard {
 public:
  enum class Refusal {
    None,
    Itself,               // the backup would be written over its own source
    AnotherSource,        // over another listed file, or into another listed folder
    DestinationIsFolder,  // a folder entry that is the destination itself: it holds nothing to walk
  };

  // `sources` are every listed source (a folder's ends in a backslash); `destination` the folder
  // backed up into; `fold` compares paths as the file system does.
  cSourceGuard(const std::vector<std::wstring>& sources, const std::wstring& destination, mBackupNames::Fold fold);

  // Whether writing `path`, part of backing up `source`, is refused, and why.
  Refusal Check(const std::wstring& source, const std::wstring& path) const;
  // Whether a folder met in a walk, or a folder entry, is the destination.
  bool IsDestination(const std::wstring& folder) const;
  // What the user is told about a refused entry or file.
  static std::wstring Reason(Refusal refusal);

 private:
  std::wstring Key(const std::wstring& path) const;

  mBackupNames::Fold m_Fold;
  std::wstring m_Destination;                  // folded, without a final backslash
  std::unordered_set<std::wstring> m_Files;    // listed files, folded
  std::vector<std::wstring> m_ExposedFolders;  // listed folders inside the destination, folded
};
