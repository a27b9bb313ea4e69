#include "cBackupList.h"

#include <algorithm>
#include <utility>

cBackupList::cBackupList(mBackupNames::Fold fold, mBackupNames::RootName rootName)
    : m_Fold(std::move(fold)), m_RootName(std::move(rootName)) {}

std::size_t cBackupList::Add(const std::vector<std::wstring>& sources) {
  const std::size_t count = std::min(sources.size(), kMaxEntries - Count());
  for (std::size_t i = 0; i < count; ++i) {
    const auto [place, added] = m_BySource.try_emplace(m_Fold(sources[i]), m_Backups.size());
    if (added) m_Backups.push_back({sources[i], {}, State::Pending, {}, {}, {}});
    m_Backups[place->second].entries.push_back(Count());
    m_Entries.push_back({sources[i], place->second});
  }
  if (count > 0) Rename();
  return count;
}

// Names depend on the whole list (a later entry's own name is never given to an earlier one),
// so they are worked out again whenever the list grows.
void cBackupList::Rename() {
  std::vector<std::wstring> sources;
  sources.reserve(m_Backups.size());
  for (const Backup& backup : m_Backups) sources.push_back(backup.source);
  std::vector<std::wstring> names = mBackupNames::DestinationNames(sources, m_Fold, m_RootName);
  for (std::size_t i = 0; i < m_Backups.size(); ++i) m_Backups[i].name = std::move(names[i]);
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
