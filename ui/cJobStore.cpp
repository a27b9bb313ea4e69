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

cJobStore::cJobStore(std::wstring path, mJobFile::Volumes volumes) : m_Path(std::move(path)), m_Volumes(std::move(volumes)) {}

cJobStore::Loaded cJobStore::Load() const { return Read(m_Volumes); }

cJobStore::Loaded cJobStore::Load(const std::wstring& arrived) const {
  mJobFile::Volumes volumes = m_Volumes;
  const std::optional<std::uint32_t> serial = m_Volumes.serialOf(arrived);
  volumes.mountedAt = [serial, arrived, mounted = m_Volumes.mountedAt](std::uint32_t wanted) -> std::optional<std::wstring> {
    if (serial && wanted == *serial) return arrived;
    return mounted(wanted);
  };
  return Read(volumes);
}

cJobStore::Loaded cJobStore::Read(const mJobFile::Volumes& volumes) const {
  if (!mFileSys::StampOf(m_Path)) return {};
  // What a write cut short by the end of its process left beside the file.
  mLeftovers::RemoveIn(FolderOf(m_Path));
  try {
    return {mJobFile::Parse(mWholeFile::Read(m_Path), volumes), false};
  } catch (const mJobFile::Corrupt&) {
  } catch (const cFileError&) {
  }
  mFileSys::ReplaceWith(m_Path, m_Path + L".bad");
  return {{}, true};
}

void cJobStore::Save(const mJobFile::Job& job) const {
  const std::wstring folder = FolderOf(m_Path);
  if (!folder.empty()) mFileSys::CreateFolder(folder);
  mWholeFile::Write(m_Path, mJobFile::Format(job, m_Volumes));
}
