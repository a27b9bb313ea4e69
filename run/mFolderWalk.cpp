#include "mFolderWalk.h"

#include <cwctype>

#include "cFolderListing.h"

namespace mFolderWalk {
namespace {

constexpr std::uint32_t kHidden = cFolderListing::kHidden, kSystem = cFolderListing::kSystem,
                        kDirectory = cFolderListing::kDirectory, kReparsePoint = cFolderListing::kReparsePoint;
constexpr std::uint32_t kNameSurrogate = 0x20000000;  // the tag bit IsReparseTagNameSurrogate tests

bool SameIgnoringCase(const std::wstring& a, const wchar_t* b) {
  std::size_t i = 0;
  for (; i < a.size() && b[i]; ++i)
    if (std::towupper(static_cast<wint_t>(a[i])) != std::towupper(static_cast<wint_t>(b[i]))) return false;
  return i == a.size() && !b[i];
}

}  // namespace

Item Classify(std::uint32_t attributes, std::uint32_t reparseTag) {
  // No real reparse point has the tag 0; a listing that leaves it out (Wine's, for a Unix
  // symbolic link) says too little to follow it safely.
  if ((attributes & kReparsePoint) && (reparseTag == 0 || (reparseTag & kNameSurrogate))) return Item::Link;
  return (attributes & kDirectory) ? Item::Folder : Item::File;
}

bool IsDriveSystemFolder(const std::wstring& name, std::uint32_t attributes) {
  return (attributes & (kHidden | kSystem)) == (kHidden | kSystem) &&
         (SameIgnoringCase(name, L"System Volume Information") || SameIgnoringCase(name, L"$RECYCLE.BIN"));
}

}  // namespace mFolderWalk
