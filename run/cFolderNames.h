#pragma once
// The names the items of one folder take in its backup, as cGivenNames gives them, item by item
// in name order: each keeps its own name unless an earlier item's folds alike; then it takes the
// first numbered form ("name (n).ext") that folds like no item's own name and no name given. Only
// the names that differ from their item's own are kept, so that a folder of 100,000 items with
// names apart costs no more than a list of their hashes while it is named.
#include <cstddef>
#include <string>
#include <unordered_map>

#include "cFolderItems.h"
#include "mBackupNames.h"

class cFolderNames {
 public:
  cFolderNames() = default;
  // Names `items`, sorted by name.
  cFolderNames(const cFolderItems& items, const mBackupNames::Fold& fold);

  // The name item `i`'s backup takes.
  std::wstring Of(const cFolderItems& items, std::size_t i) const;
  // Whether item `i`'s backup takes a numbered name rather than the item's own.
  bool Numbered(std::size_t i) const { return m_Numbered.count(i) != 0; }

 private:
  std::unordered_map<std::size_t, std::wstring> m_Numbered;  // by item
};
