#include "cBackupList.h"

#include <algorithm>
#include <utility>

#include "mVersions.h"

cBackupList::cBackupList(mBackupNames::Fold fold, mBackupNames::RootName rootName)
    : m_Fold(fold), m_RootName(std::move(rootName)), m_Names(std::move(fold)) {
  m_Names.Withhold(mVersions::kFolderName);  // the versions of replaced backups
}

std::size_t cBackupList::Add(const std::vector<std::wstring>& sources, const std::vector<std::wstring>& names) {
  const std::size_t count = std::min(sources.size(), kMaxEntries - Count());
  const std::size_t firstNew = m_Backups.size();
  for (std::size_t i = 0; i < count; ++i) {
    const auto [place, added] = m_BySource.try_emplace(m_Fold(sources[i]), m_Backups.size());
    if (added) m_Backups.push_back({sources[i], {}, State::Pending, {}, {}, {}, i < names.size() ? names[i] : L""});
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
  for (std::size_t i = first; i < m_Backups.size(); ++i)
    if (m_Names.Claim(m_Backups[i].earlierName)) m_Backups[i].name = m_Backups[i].earlierName;
  for (std::size_t i = first; i < m_Backups.size(); ++i) m_Names.Reserve(mBackupNames::OwnName(m_Backups[i].source, m_RootName));
  for (std::size_t i = first; i < m_Backups.size(); ++i) {
    Backup& backup = m_Backups[i];
    if (backup.name.empty()) backup.name = m_Names.Give(mBackupNames::OwnName(backup.source, m_RootName), mBackupNames::IsFolder(backup.source));
  }
}

std::vector<std::wstring> cBackupList::Sources() const {
  std::vector<std::wstring> sources;
  sources.reserve(m_Backups.size());
  for (const Backup& backup : m_Backups)
    if (!backup.entries.empty()) sources.push_back(backup.source);
  return sources;
}

void cBackupList::Remove(std::size_t entry) {
  Backup& removed = m_Backups[m_Entries.at(entry).backup];
  std::erase(removed.entries, entry);
  // Listed again later, it is copied again: what it was before says nothing of the file then.
  if (removed.entries.empty()) removed.state = State::Pending;
  m_Entries.erase(m_Entries.begin() + static_cast<std::ptrdiff_t>(entry));
  for (Backup& backup : m_Backups)
    for (std::size_t& shown : backup.entries)
      if (shown > entry) --shown;
}

void cBackupList::Forget() {
  m_Entries.clear();
  m_Backups.clear();
  m_BySource.clear();
  m_Names = cGivenNames(m_Fold);
}

void cBackupList::Clear() {
  m_Entries.clear();
  for (Backup& backup : m_Backups) {
    backup.entries.clear();
    backup.state = State::Pending;
  }
}

std::wstring cBackupList::Text(std::size_t entry) const {
  if (StateOf(entry) != State::BackedUp) return Source(entry);
  return std::wstring(1, mBackupNames::kDoneMark) + Source(entry);
}

std::vector<std::size_t> cBackupList::StartRun() {
  std::vector<std::size_t> toCopy;
  for (Backup& backup : m_Backups) {
    if (backup.state == State::BackedUp || backup.entries.empty()) continue;
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
