#include "cJobKeeper.h"

#include <utility>

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

cJobKeeper::Restored cJobKeeper::Restore(cBackupList& list, bool unattended) {
  if (!m_Store) return {};
  std::optional<cJobStore::Loaded> loaded;
  try {
    loaded = m_Store->Load();
  } catch (...) {
    m_Store.reset();  // a job that could not be read is not written over for the rest of the session
    throw;
  }
  Take(list, loaded->job);
  const std::vector<std::wstring>& setAside = loaded->setAside.paths;
  if (setAside.empty()) return {loaded->job.destination, {}};
  // No one sees an unattended run: what it found is said by the next window.
  if (!unattended) m_Store->Told(loaded->setAside);
  std::wstring note = L"上次保存的备份任务无法读取，已改名为";
  for (std::size_t i = 0; i < setAside.size(); ++i) note += (i > 0 ? L"、“" : L"“") + setAside[i] + L"”";
  note += L"留存。";
  if (loaded->job.entries.empty()) note += L"请重新选择要备份的文件和目标文件夹。";
  return {loaded->job.destination, note};
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
