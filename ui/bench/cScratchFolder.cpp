#include "cScratchFolder.h"

#include <cstdio>
#include <filesystem>
#include <span>
#include <system_error>
#include <utility>

#include "cFile.h"
#include "cTestDir.h"
#include "mText.h"

cScratchFolder::cScratchFolder(std::wstring path) : m_Path(std::move(path)) { Reset(); }

cScratchFolder::~cScratchFolder() {
  std::error_code error;
  std::filesystem::remove_all(FsPath(m_Path), error);
  if (!error) std::filesystem::remove(FsPath(m_Path + L".settled"), error);
  // A destructor cannot throw; a folder left behind is still worth a word.
  if (error) std::fprintf(stderr, "window_bench: cannot remove %s: %s\n", mText::ToUtf8(m_Path).c_str(), error.message().c_str());
}

std::wstring cScratchFolder::Child(const std::wstring& name) const { return m_Path + L"\\" + name; }

void cScratchFolder::Reset() const {
  std::filesystem::remove_all(FsPath(m_Path));
  std::filesystem::create_directories(FsPath(m_Path));
  Settle();
}

// Removing many files leaves their journal commit, and on a volume mounted with online discard
// the trimming of their blocks, to the next flush, which would otherwise fall inside whichever
// timed pass comes next. Flushing a small file of its own pays it here, untimed.
void cScratchFolder::Settle() const {
  const std::wstring marker = m_Path + L".settled";
  std::filesystem::remove(FsPath(marker));
  cFile file = cFile::CreateNew(marker);
  file.Write(std::as_bytes(std::span(marker.data(), marker.size())));
  file.Flush();
}
