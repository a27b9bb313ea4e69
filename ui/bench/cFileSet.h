#pragma once
// A folder of generated files, each with content of its own, to copy or to list.
#include <cstddef>
#include <string>
#include <vector>

#include "cScratchFolder.h"

class cFileSet {
 public:
  // Writes count files of bytes each into folder, named file-00001.bin and so on.
  cFileSet(std::wstring folder, int count, std::size_t bytes);

  const std::vector<std::wstring>& Paths() const noexcept { return m_Paths; }
  // Throws unless folder holds a copy of every file, byte for byte, under its own name.
  void ExpectCopiedTo(const std::wstring& folder) const;

 private:
  static std::wstring NameOf(int index);

  cScratchFolder m_Folder;
  std::size_t m_Bytes;
  std::vector<std::wstring> m_Paths;
};
