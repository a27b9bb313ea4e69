#include "cJobStore.h"

#include <utility>

#include "cFileError.h"
#include "mFileSys.h"
#include "mLeftovers.h"
#include "mWholeFile.h"

namespace {

std::wstring FolderOf(const std::wstring& path) {
  const auto cut = path.find_last_of(L"\\/");
  return cut == std::wstring::npos ? L"" : path.substr(0, cut);
}

}  // namespace

cJobStore::cJobStore(std::wstring path) : m_Path(std::move(path)) {}

cJobStore::Loaded cJobStore::Load() const {
  if (!mFileSys::StampOf(m_Path)) return {};
  // What a write cut short by the end of its process left beside the file.
  mLeftovers::RemoveIn(FolderOf(m_Path));
  try {
    return {mJobFile::Parse(mWholeFile::Read(m_Path)), false};
  } catch (const mJobFile::Corrupt&) {
  } catch (const cFileError&) {
  }
  mFileSys::ReplaceWith(m_Path, m_Path + L".bad");
  return {{}, true};
}

void cJobStore::Save(const mJobFile::Job& job) const {
  const std::wstring folder = FolderOf(m_Path);
  if (!folder.empty()) mFileSys::CreateFolder(folder);
  mWholeFile::Write(m_Path, mJobFile::Format(job));
}
