#pragma once
// The names given in one folder of a backup: each item keeps its own name unless a name that
// folds alike was given already; then it takes the first numbered form ("name (n).ext") that is
// neither given nor kept for an item still to come. A name once given stays given.
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "mBackupNames.h"

class cGivenNames {
 public:
  explicit cGivenNames(mBackupNames::Fold fold);

  // Keeps an item's own name for it, so that an earlier item's number never lands on it.
  void Reserve(const std::wstring& ownName);
  // Keeps a name from every item: the program's own folder is there under it.
  void Withhold(const std::wstring& name);
  // Gives exactly this name (one given in an earlier session) if it is not given yet; answers
  // whether it did.
  bool Claim(const std::wstring& name);
  // The name for an item whose own name is `ownName` (a folder takes its number at the end).
  std::wstring Give(const std::wstring& ownName, bool folder);

 private:
  mBackupNames::Fold m_Fold;
  std::unordered_set<std::wstring> m_Given;     // folded
  std::unordered_set<std::wstring> m_Reserved;  // folded
  std::unordered_map<std::wstring, int> m_LastNumber;  // per own name, so many duplicates stay linear
};
