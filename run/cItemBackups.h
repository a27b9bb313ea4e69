#pragma once
// The backups in one destination folder, kept item by item of the source folder they back up: a
// stamp for each item whose backup is there under the name the item gives it, so that a folder of
// 100,000 backups costs a stamp per item rather than a name and a record per backup. Backups
// under another case of that name, or under no item's name, are kept by folded name beside them;
// where one is under the item's exact name too, that one is the item's backup.
//
// Read a budget's worth at a time. Temporary files of copies whose process ended go as they are
// met. A folder that is not there yet, or cannot be read, holds no backups.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "cFolderItems.h"
#include "cFolderListing.h"
#include "cFolderNames.h"
#include "cPiecewiseListing.h"
#include "mBackupNames.h"
#include "mFileSys.h"

class cItemBackups {
 public:
  // `items` (sorted) and `names` are the source folder's, and outlive this.
  cItemBackups(const std::wstring& folder, const cFolderItems& items, const cFolderNames& names,
               const mBackupNames::Fold& fold);

  // Reads on; true once the folder has been read whole.
  bool Read(int& budget);
  // The stamp of item `i`'s backup; nothing when it has none.
  std::optional<mFileSys::FileStamp> Of(std::size_t i) const;

 private:
  void Take(const cFolderListing::Item& item);

  cPiecewiseListing m_Listing;
  const cFolderItems& m_Items;
  const cFolderNames& m_Names;
  const mBackupNames::Fold& m_Fold;
  std::vector<mFileSys::FileStamp> m_ByItem;  // allocated at the first backup met
  std::vector<bool> m_Found;
  cFolderItems m_Others;  // by folded name, the first listed first
};
