#include "cJob.h"

#include <utility>

cJob::cJob(cBackupList& list, std::optional<cJobStore> store, cVolumeFinder::System volumes)
    : m_List(list), m_Keeper(std::move(store)), m_Volumes(std::move(volumes)) {}

cJobKeeper::Restored cJob::Restore(bool unattended) { return m_Keeper.Restore(m_List, unattended); }

std::size_t cJob::Add(const std::vector<std::wstring>& paths) {
  cVolumeFinder finder = Finder();
  return m_List.Add(paths, {}, mEntryVolumes::Of(paths, finder));
}

mEntryVolumes::Arrival cJob::Arrived(const std::wstring& root) {
  cVolumeFinder finder = Finder();
  return mEntryVolumes::Arrived(m_List, finder, root);
}

std::vector<std::size_t> cJob::Locate() {
  cVolumeFinder finder = Finder();
  return mEntryVolumes::Locate(m_List, finder);
}
