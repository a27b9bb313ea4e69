#include "cRunPlan.h"

#include <algorithm>

#include "cFileError.h"
#include "cFolderListing.h"
#include "cGivenNames.h"
#include "mFileHlp.h"
#include "mFileSys.h"
#include "mFolderWalk.h"
#include "mLeftovers.h"

namespace {

using Item = cFolderListing::Item;

// A folder's items in the same order on every run, so that names alike but for case are
// numbered alike each time.
std::vector<Item> ListFolder(const std::wstring& folder) {
  std::vector<Item> items = cFolderListing::All(folder);
  std::sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.name < b.name; });
  return items;
}

cRunPlan::Step NewStep(std::size_t entry, cRunPlan::Kind kind, const std::wstring& source, const std::wstring& destination) {
  cRunPlan::Step step{};
  step.entry = entry;
  step.kind = kind;
  step.source = source;
  step.destination = destination;
  return step;
}

// The folder a path names or lies in, as far as its last backslash.
std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\') + 1); }

}  // namespace

cRunPlan::cRunPlan(const cBackupList& list, const std::vector<std::size_t>& order, const std::wstring& folder)
    : m_Guard(list.Sources(), mFileHlp::AddBackslash(folder), list.Fold()), m_Fold(list.Fold()) {
  const std::wstring base = mFileHlp::AddBackslash(folder);
  const std::wstring backupFileSystem = FileSystemOf(base);
  for (const std::size_t entry : order) {
    const std::wstring& source = list.Source(entry);
    const Context context{entry, source, mBackupTimes::Between(FileSystemOf(source), backupFileSystem)};
    const std::wstring destination = base + list.DestinationName(entry);
    if (list.IsFolder(entry))
      AddFolder(context, source, destination);
    else
      AddFile(context, source, destination);
    m_Steps.back().lastOfEntry = true;
  }
}

// Asked once per folder that entries come from: most lists come from a few folders.
const std::wstring& cRunPlan::FileSystemOf(const std::wstring& path) {
  const std::wstring folder = FolderOf(path);
  auto [place, added] = m_FileSystems.try_emplace(m_Fold(folder));
  if (added) place->second = mFileSys::FileSystemOf(folder);
  return place->second;
}

// A write that would land on a listed source becomes a step that fails with the reason.
bool cRunPlan::Refused(const Context& entry, const std::wstring& source, const std::wstring& destination) {
  const cSourceGuard::Refusal refusal = m_Guard.Check(entry.root, destination);
  if (refusal == cSourceGuard::Refusal::None) return false;
  Step step = NewStep(entry.entry, Kind::Refuse, source, destination);
  step.refusal = refusal;
  m_Steps.push_back(std::move(step));
  return true;
}

void cRunPlan::AddFile(const Context& entry, const std::wstring& source, const std::wstring& destination) {
  if (Refused(entry, source, destination)) return;
  // One that cannot be asked counts as empty in the run's progress; its copy reports why.
  const auto stamp = mFileSys::StampOf(source);
  AddCopy(entry, source, destination, stamp ? stamp->bytes : 0);
}

void cRunPlan::AddCopy(const Context& entry, const std::wstring& source, const std::wstring& destination,
                       std::int64_t bytes) {
  Step step = NewStep(entry.entry, Kind::Copy, source, destination);
  step.bytes = bytes;
  step.backup = BackupOf(destination);
  step.times = entry.times;
  m_Steps.push_back(std::move(step));
  ++m_Files;
  m_Bytes += bytes;
}

// Lists each destination folder once, for the stamps of the backups in it; the temporary files
// of copies whose process was ended there go at the same time.
std::optional<cRunPlan::Stamp> cRunPlan::BackupOf(const std::wstring& destination) {
  const std::wstring folder = FolderOf(destination);
  auto [place, added] = m_Existing.try_emplace(m_Fold(folder));
  if (added) {
    try {
      cFolderListing listing(folder);
      while (const auto item = listing.Next()) {
        if (item->attributes & cFolderListing::kDirectory) continue;
        if (mLeftovers::OwnerOf(item->name) && mLeftovers::RemoveIfOrphaned(folder, item->name)) continue;
        place->second.emplace(m_Fold(item->name), Stamp{item->bytes, item->written});
      }
    } catch (const cFileError&) {
      // No such folder yet, or one that cannot be read: the copies into it find out which.
    }
  }
  const auto found = place->second.find(m_Fold(destination.substr(folder.size())));
  if (found == place->second.end()) return std::nullopt;
  return found->second;
}

void cRunPlan::AddFolder(const Context& entry, const std::wstring& source, const std::wstring& destination) {
  if (m_Guard.IsDestination(source)) {
    Step step = NewStep(entry.entry, Kind::Refuse, source, destination);
    step.refusal = cSourceGuard::Refusal::DestinationIsFolder;
    m_Steps.push_back(std::move(step));
    return;
  }
  AddWalk(entry, source, destination);
}

void cRunPlan::AddWalk(const Context& entry, const std::wstring& source, const std::wstring& destination) {
  if (Refused(entry, source, destination)) return;
  m_Steps.push_back(NewStep(entry.entry, Kind::CreateFolder, source, destination));
  std::vector<Item> items;
  try {
    items = ListFolder(source);
  } catch (const cFileError&) {
    m_Steps.push_back(NewStep(entry.entry, Kind::Fail, source, destination));
    m_Steps.back().failure = std::current_exception();
    return;
  }
  const bool driveRoot = source.size() <= 3;
  std::vector<std::pair<const Item*, mFolderWalk::Item>> kept;
  for (const Item& item : items) {
    const auto kind = mFolderWalk::Classify(item.attributes, item.reparseTag);
    if (kind == mFolderWalk::Item::Link) {
      m_Links.push_back(source + item.name);
    } else if (!(driveRoot && mFolderWalk::IsDriveSystemFolder(item.name, item.attributes)) &&
               !(kind == mFolderWalk::Item::Folder && m_Guard.IsDestination(source + item.name))) {
      kept.emplace_back(&item, kind);
    }
  }
  // Names that differ only in case (a case-sensitive folder) would be one file in the backup.
  cGivenNames names(m_Fold);
  for (const auto& [item, kind] : kept) names.Reserve(item->name);
  for (const auto& [item, kind] : kept) {
    const bool folder = kind == mFolderWalk::Item::Folder;
    const std::wstring target = destination + L"\\" + names.Give(item->name, folder);
    if (folder)
      AddWalk(entry, source + item->name + L"\\", target);
    else if (!Refused(entry, source + item->name, target))
      AddCopy(entry, source + item->name, target, item->bytes);
  }
}

bool cRunPlan::Unchanged(const Step& step) {
  if (!step.backup) return false;
  const auto source = mFileSys::StampOf(step.source);
  return source && mBackupTimes::Unchanged(*source, *step.backup, step.times);
}

void cRunPlan::CreateFolder(const Step& step) { mFileSys::CreateFolder(step.destination); }
