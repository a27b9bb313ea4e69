#include "cScratchFolder.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <span>
#include <utility>

#include "cFile.h"
#include "cTestDir.h"
#include "mText.h"

cScratchFolder::cScratchFolder(std::wstring path) : m_Path(std::move(path)) {
  RemoveAll();
  Reset();
}

cScratchFolder::~cScratchFolder() {
  try {
    RemoveAll();
  } catch (const std::exception& error) {
    // A destructor cannot throw; a folder left behind is still worth a word.
    std::fprintf(stderr, "window_bench: cannot remove %s: %s\n", mText::ToUtf8(m_Path).c_str(), error.what());
  }
}

std::wstring cScratchFolder::Child(const std::wstring& name) const { return m_Path + L"\\" + name; }

// A pass's files are moved aside rather than removed before the next: a file system that avoids
// reusing an inode freed in the last minutes (ext4 without a journal, as on the build machines,
// for up to five) checks every file the next pass creates against each one just freed, and
// under Wine that happens in the server, where every thread of the pass waits for it.
void cScratchFolder::Reset() const {
  if (std::filesystem::exists(FsPath(m_Path))) std::filesystem::rename(FsPath(m_Path), FsPath(Retired(++m_Passes)));
  std::filesystem::create_directories(FsPath(m_Path));
  Settle();
}

std::wstring cScratchFolder::Retired(int pass) const { return m_Path + L".pass-" + std::to_wstring(pass); }

// The folder, its marker and every pass moved aside, this run's or an interrupted one's.
void cScratchFolder::RemoveAll() const {
  const std::filesystem::path folder = FsPath(m_Path);
  const std::wstring retired = folder.filename().wstring() + L".pass-";
  std::filesystem::remove_all(folder);
  std::filesystem::remove(FsPath(m_Path + L".settled"));
  for (const auto& item : std::filesystem::directory_iterator(folder.parent_path()))
    if (item.path().filename().wstring().starts_with(retired)) std::filesystem::remove_all(item.path());
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
