#pragma once
// A folder listed a budget's worth of items at a time, so that a walk can paint, answer and stop
// between pieces. A folder that is not there, or cannot be read, lists as empty: what is looked
// up in it is found missing, and whatever then writes there finds out why.
#include <functional>
#include <optional>
#include <string>

#include "cFolderListing.h"

class cPiecewiseListing {
 public:
  explicit cPiecewiseListing(const std::wstring& folder);

  // Hands the next items to `take`, each one unit of `budget` (opening the folder is one too).
  // True once the folder has been read whole; a failure of `take` ends the listing as well.
  bool Read(int& budget, const std::function<void(const cFolderListing::Item&)>& take);
  bool Whole() const noexcept { return m_Done; }
  // With its final backslash.
  const std::wstring& Folder() const noexcept { return m_Folder; }

 private:
  void End();

  std::wstring m_Folder;
  std::optional<cFolderListing> m_Listing;
  bool m_Done = false;
};
