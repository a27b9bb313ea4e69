#include "cScratchFolder.h"

#include <cstdio>
#include <filesystem>
#include <system_error>
#include <utility>

#include "cTestDir.h"
#include "mText.h"

cScratchFolder::cScratchFolder(std::wstring path) : m_Path(std::move(path)) { Reset(); }

cScratchFolder::~cScratchFolder() {
  std::error_code error;
  std::filesystem::remove_all(FsPath(m_Path), error);
  // A destructor cannot throw; a folder left behind is still worth a word.
  if (error) std::fprintf(stderr, "window_bench: cannot remove %s: %s\n", mText::ToUtf8(m_Path).c_str(), error.message().c_str());
}

std::wstring cScratchFolder::Child(const std::wstring& name) const { return m_Path + L"\\" + name; }

void cScratchFolder::Reset() const {
  std::filesystem::remove_all(FsPath(m_Path));
  std::filesystem::create_directories(FsPath(m_Path));
}
