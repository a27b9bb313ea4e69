#include "cFolderListing.h"

std::vector<cFolderListing::Item> cFolderListing::All(const std::wstring& folder) {
  cFolderListing listing(folder);
  std::vector<Item> items;
  while (auto item = listing.Next()) items.push_back(std::move(*item));
  return items;
}
