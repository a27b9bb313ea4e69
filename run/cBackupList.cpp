#include "cBackupList.h"

#include <algorithm>
#include <utility>

#include "cDestinationIndex.h"
#include "cFolderLock.h"
#include "mVersions.h"

cBackupList::cBackupList(mBackupNames::Fold fold, mBackupNames::RootName rootName)
    : m_Fold(fold), m_RootName(std::move(rootName)), m_Names(std::move(fold)) {
  m_Names.Withhold(mVersions::kFolderName);  // the versions of replaced backups
  m_Names.Withhold(cFolderLock::kFileName);  // held by the run writing into the destination
  m_Names.Withhold(cDestinationIndex::kFileName);  // what the destination remembers of its backups
}

std::size_t cBackupList::Add(const std::vector<std::wstring>& sources, const std::vector<std::wstring>& names,
                             const std::vector<Volume>& volumes) {
  const std::size_t count = std::min(sources.size(), kMaxEntries - Count());
  const std::size_t firstNew = m_Backups.size();
  for (std::size_t i = 0; i < count; ++i) {
    const auto [place, added] = m_BySource.try_emplace(m_Fold(sources[i]), m_Backups.size());
    if (added)
      m_Backups.push_back({sources[i], {}, State::Pending, {}, {}, {}, i < names.size() ? names[i] : L"",
                           i < volumes.size() ? volumes[i] : std::nullopt, {}});
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
  for (std::size_t i = first; i < m_Backups.size(); ++i) m_Names.Reserve(OwnName(m_Backups[i]));
  for (std::size_t i = first; i < m_Backups.size(); ++i) {
    Backup& backup = m_Backups[i];
    if (backup.name.empty()) backup.name = m_Names.Give(OwnName(backup), mBackupNames::IsFolder(backup.source));
  }
}

// A drive root's backup is named by the label its volume had when it was added, so that naming
// never asks a volume.
std::wstring cBackupList::OwnName(const Backup& backup) const {
  if (!backup.volume) return mBackupNames::OwnName(backup.source, m_RootName);
  return mBackupNames::OwnName(backup.source, [&](const std::wstring&) { return backup.volume->label; });
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

std::vector<std::size_t> cBackupList::MoveVolume(std::uint32_t serial, const std::wstring& root) {
  std::vector<std::size_t> moved;
  for (std::size_t i = 0; i < m_Backups.size(); ++i) {
    Backup& backup = m_Backups[i];
    if (!backup.volume || backup.volume->serial != serial || m_Fold(backup.volume->root) == m_Fold(root)) continue;
    const std::size_t below = backup.volume->root.size();
    const std::wstring source = root + backup.source.substr(std::min(below, backup.source.size()));
    // The same path listed under the new root already is its own backup: this one stays.
    if (!m_BySource.try_emplace(m_Fold(source), i).second) continue;
    m_BySource.erase(m_Fold(backup.source));
    backup.source = source;
    backup.volume->root = root;
    for (const std::size_t entry : backup.entries) {
      m_Entries[entry].source = root + m_Entries[entry].source.substr(std::min(below, m_Entries[entry].source.size()));
      moved.push_back(entry);
    }
  }
  std::sort(moved.begin(), moved.end());
  return moved;
}

const std::wstring& cBackupList::Rename(std::size_t entry, const std::vector<std::wstring>& taken) {
  for (const std::wstring& name : taken) m_Names.Withhold(name);
  Backup& backup = m_Backups[m_Entries.at(entry).backup];
  backup.name = m_Names.Give(OwnName(backup), mBackupNames::IsFolder(backup.source));
  return backup.name;
}

void cBackupList::SetUnavailable(std::size_t entry, std::wstring reason) {
  m_Backups[m_Entries.at(entry).backup].unavailable = std::move(reason);
}

void cBackupList::ClearUnavailable() {
  for (Backup& backup : m_Backups) backup.unavailable.clear();
}

std::vector<std::size_t> cBackupList::Unavailable() const {
  std::vector<std::size_t> entries;
  for (const Backup& backup : m_Backups)
    if (!backup.unavailable.empty() && !backup.entries.empty() && backup.state != State::BackedUp)
      entries.push_back(backup.entries.front());
  return entries;
}

std::wstring cBackupList::Text(std::size_t entry) const {
  if (StateOf(entry) != State::BackedUp) return Source(entry);
  return std::wstring(1, mBackupNames::kDoneMark) + Source(entry);
}

std::vector<std::size_t> cBackupList::StartRun() {
  std::vector<std::size_t> toCopy;
  for (Backup& backup : m_Backups) {
    if (backup.state == State::BackedUp || backup.entries.empty()) continue;
    backup.state = backup.unavailable.empty() ? State::Pending : State::Failed;
    backup.reason = backup.unavailable;
    backup.files.clear();
    if (backup.unavailable.empty()) toCopy.push_back(backup.entries.front());
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
