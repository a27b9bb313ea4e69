#include "cJobKeeper.h"

#include <utility>

#include "mFileHlp.h"

cJobKeeper::cJobKeeper(std::optional<cJobStore> store) : m_Store(std::move(store)) {}

// The job's entries appended to the list, with the names their backups had; what the file holds.
void cJobKeeper::Take(cBackupList& list, const mJobFile::Job& job) {
  std::vector<std::wstring> sources, names;
  std::vector<cBackupList::Volume> volumes;
  for (const mJobFile::Entry& entry : job.entries) {
    sources.push_back(entry.source);
    names.push_back(entry.name);
    volumes.push_back(entry.volume);
  }
  list.Add(sources, names, volumes);
  m_Saved = job;
}

cJobKeeper::Restored cJobKeeper::Restore(cBackupList& list) {
  if (!m_Store) return {};
  const cJobStore::Loaded loaded = m_Store->Load();
  Take(list, loaded.job);
  if (!loaded.keptAside) return {loaded.job.destination, {}};
  return {{}, L"上次保存的备份任务无法读取，已改名为“" + mFileHlp::GetFileName(m_Store->Path()) +
                  L".bad”留存。列表从空白开始。"};
}

void cJobKeeper::Changed(const cBackupList& list, const std::wstring& destination) {
  if (!m_Store) return;
  mJobFile::Job job{destination, {}};
  for (std::size_t i = 0; i < list.Count(); ++i) job.entries.push_back({list.Source(i), list.DestinationName(i), list.VolumeOf(i)});
  if (m_Saved == job) return;
  m_Store->Save(job);
  m_Saved = std::move(job);
}

const std::wstring& cJobKeeper::Path() const {
  static const std::wstring none;
  return m_Store ? m_Store->Path() : none;
}
