#pragma once
// What a folder entry's walk does with each item it lists, from the item's attributes (the
// system's FILE_ATTRIBUTE_* bits) and, for a reparse point, its tag.
#include <cstdint>
#include <string>

namespace mFolderWalk {

enum class Item {
  File,
  Folder,
  Link,  // a junction or symbolic link: it leads elsewhere, maybe back up the tree; not followed
};

// Only name surrogates (junctions, symbolic links) are links. Every other reparse point (a
// cloud placeholder, a deduplicated file) is the file or folder it stands for. A reparse point
// listed without its tag is taken for a link.
Item Classify(std::uint32_t attributes, std::uint32_t reparseTag);
// The system's own folders at the top of a drive: nobody backs them up, and reading them is refused.
bool IsDriveSystemFolder(const std::wstring& name, std::uint32_t attributes);

}  // namespace mFolderWalk
