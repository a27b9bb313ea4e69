#pragma once
// The items of one folder, read one at a time. The folder stays open (a find handle, or a
// directory stream) until the listing goes, so that a walk of a large tree can stop between any
// two items. "." and ".." are left out. One implementation per platform (win32/, posix/).
#include <cstdint>
#include <optional>
#include <string>

class cFolderListing {
 public:
  // The attribute bits an item reports, as the system's FILE_ATTRIBUTE_* values.
  static constexpr std::uint32_t kReadOnly = 0x1, kHidden = 0x2, kSystem = 0x4, kDirectory = 0x10,
                                 kReparsePoint = 0x400;
  // The tag of a symbolic link.
  static constexpr std::uint32_t kSymbolicLinkTag = 0xA000000C;

  struct Item {
    std::wstring name;
    std::uint32_t attributes = 0;
    std::uint32_t reparseTag = 0;  // for a reparse point, where the system reports it
    std::int64_t bytes = 0;
    std::uint64_t written = 0;  // last-write time, 100 ns ticks
  };

  // Opens `folder` (with or without its final separator). Throws cFileError when it cannot be
  // read; a drive root with nothing on it is an empty listing.
  explicit cFolderListing(const std::wstring& folder);
  ~cFolderListing();
  cFolderListing(const cFolderListing&) = delete;
  cFolderListing& operator=(const cFolderListing&) = delete;

  // The next item; nothing at the end. Throws cFileError.
  std::optional<Item> Next();

 private:
  std::wstring m_Folder;  // with its final separator
  void* m_Handle;         // the find handle or DIR*; null or invalid at the end
  std::optional<Item> m_First;  // a find handle is opened with the first item already read
};
