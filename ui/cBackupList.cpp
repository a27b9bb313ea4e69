#include "cBackupList.h"

#include <algorithm>
#include <utility>

#include "mVersions.h"

cBackupList::cBackupList(mBackupNames::Fold fold, mBackupNames::RootName rootName)
    : m_Fold(fold), m_RootName(std::move(rootName)), m_Names(std::move(fold)) {
  m_Names.Withhold(mVersions::kFolderName);  // the versions of replaced backups
}

std::size_t cBackupList::Add(const std::vector<std::wstring>& sources) {
  const std::size_t count = std::min(sources.size(), kMaxEntries - Count());
  const std::size_t firstNew = m_Backups.size();
  for (std::size_t i = 0; i < count; ++i) {
    const auto [place, added] = m_BySource.try_emplace(m_Fold(sources[i]), m_Backups.size());
    if (added) m_Backups.push_back({sources[i], {}, State::Pending, {}, {}, {}});
    m_Backups[place->second].entries.push_back(Count());
    m_Entries.push_back({sources[i], place->second});
  }
  NameNewBackups(firstNew);
  return count;
}

// A backup's name is given when it is added and never changes, nor is it given to another: the
// destination may hold a backup under it made earlier in this session. The own names of the
// backups added together are kept for them, so that none of them takes another's.
void cBackupList::NameNewBackups(std::size_t first) {
  for (std::size_t i = first; i < m_Backups.size(); ++i) m_Names.Reserve(mBackupNames::OwnName(m_Backups[i].source, m_RootName));
  for (std::size_t i = first; i < m_Backups.size(); ++i) {
    Backup& backup = m_Backups[i];
    backup.name = m_Names.Give(mBackupNames::OwnName(backup.source, m_RootName), mBackupNames::IsFolder(backup.source));
  }
}

std::vector<std::wstring> cBackupList::Sources() const {
  std::vector<std::wstring> sources;
  sources.reserve(m_Backups.size());
  for (const Backup& backup : m_Backups) sources.push_back(backup.source);
  return sources;
}

std::wstring cBackupList::Text(std::size_t entry) const {
  if (StateOf(entry) != State::BackedUp) return Source(entry);
  return std::wstring(1, mBackupNames::kDoneMark) + Source(entry);
}

std::vector<std::size_t> cBackupList::StartRun() {
  std::vector<std::size_t> toCopy;
  for (Backup& backup : m_Backups) {
    if (backup.state == State::BackedUp) continue;
    backup.state = State::Pending;
    backup.reason.clear();
    backup.files.clear();
    toCopy.push_back(backup.entries.front());
  }
  return toCopy;
}

const std::vector<std::size_t>& cBackupList::MarkBackedUp(std::size_t entry) {
  return SetState(entry, State::BackedUp, {});
}

const std::vector<std::size_t>& cBackupList::MarkFailed(std::size_t entry, std::wstring reason) {
  return SetState(entry, State::Failed, std::move(reason));
}

const std::vector<std::size_t>& cBackupList::MarkFileFailed(std::size_t entry, std::wstring file,
                                                           std::wstring reason) {
  Backup& backup = m_Backups[m_Entries.at(entry).backup];
  backup.files.push_back({std::move(file), std::move(reason)});
  backup.state = State::Failed;
  return backup.entries;
}

const std::vector<std::size_t>& cBackupList::SetState(std::size_t entry, State state, std::wstring reason) {
  Backup& backup = m_Backups[m_Entries.at(entry).backup];
  backup.state = state;
  backup.reason = std::move(reason);
  return backup.entries;
}

std::vector<mFailureReport::Failure> cBackupList::Failures() const {
  std::vector<mFailureReport::Failure> failures;
  for (const Backup& backup : m_Backups)
    if (backup.state == State::Failed) {
      if (!backup.reason.empty() || backup.files.empty()) failures.push_back({backup.source, backup.reason});
      failures.insert(failures.end(), backup.files.begin(), backup.files.end());
    }
  return failures;
}
