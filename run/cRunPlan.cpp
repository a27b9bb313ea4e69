#include "cRunPlan.h"

#include <algorithm>
#include <utility>

#include "cFileError.h"
#include "cFolderItems.h"
#include "cFolderListing.h"
#include "cFolderNames.h"
#include "cItemBackups.h"
#include "cPiecewiseListing.h"
#include "mFileHlp.h"
#include "mFileSys.h"
#include "mFolderWalk.h"
#include "mLeftovers.h"

namespace {

using Item = cFolderListing::Item;

// The folder a path names or lies in, as far as its last backslash.
std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\') + 1); }

bool IsFolder(const Item& item) { return (item.attributes & cFolderListing::kDirectory) != 0; }

}  // namespace

// The files in one folder by folded name, with their stamps, read a budget's worth at a time: the
// backups in a destination folder, whose temporary files of copies whose process ended go as they
// are met, or the sources of many file entries. Kept compactly, sorted once the folder is read.
class cRunPlan::cBackups {
 public:
  cBackups(const std::wstring& folder, const mBackupNames::Fold& fold, bool removeLeftovers = true)
      : m_Listing(folder), m_Fold(fold), m_RemoveLeftovers(removeLeftovers) {}

  // Reads on; true once the folder has been read whole.
  bool Read(int& budget) {
    if (m_Listing.Whole()) return true;
    if (!m_Listing.Read(budget, [this](const Item& item) { Take(item); })) return false;
    m_Stamps.Sort();  // a name listed twice (alike but for case) has the stamp listed first
    return true;
  }

  bool Whole() const noexcept { return m_Listing.Whole(); }

  std::optional<Stamp> Of(const std::wstring& name) const {
    const auto found = m_Stamps.Find(m_Fold(name));
    if (!found) return std::nullopt;
    return Stamp{m_Stamps.Bytes(*found), m_Stamps.Written(*found)};
  }

 private:
  void Take(const Item& item) {
    if (IsFolder(item)) return;
    if (m_RemoveLeftovers && mLeftovers::OwnerOf(item.name) && mLeftovers::RemoveIfOrphaned(m_Listing.Folder(), item.name))
      return;
    m_Stamps.Add(m_Fold(item.name), item);
  }

  cPiecewiseListing m_Listing;
  const mBackupNames::Fold& m_Fold;
  cFolderItems m_Stamps;  // by folded name
  bool m_RemoveLeftovers;
};

namespace {

// From this many file entries of one folder on, the folder is listed once for their stamps
// rather than each asked for its own: under Wine every such question is a round trip.
constexpr int kEntriesListedTogether = 16;

}  // namespace

// A folder being walked: listed whole first, so that names alike but for case can be given
// apart, then its items taken in name order.
struct cRunPlan::Frame {
  std::wstring source;       // with its final backslash
  std::wstring destination;  // without
  std::optional<cFolderListing> listing;
  bool listed = false;
  cFolderItems items;
  cFolderNames names;  // the name each item's backup takes
  std::size_t next = 0;
  std::unique_ptr<cItemBackups> backups;  // read before the first file is given
};

cRunPlan::cRunPlan(const cBackupList& list, std::vector<std::size_t> order, const std::wstring& folder, bool lookAtBackups)
    : m_List(list),
      m_Order(std::move(order)),
      m_Base(mFileHlp::AddBackslash(folder)),
      m_LookAtBackups(lookAtBackups),
      m_Guard(list.Sources(), m_Base, list.Fold()),
      m_Fold(list.Fold()),
      m_BaseFileSystem(mFileSys::FileSystemOf(m_Base)) {
  if (m_LookAtBackups) m_BaseBackups = std::make_unique<cBackups>(m_Base, m_Fold);
  std::map<std::wstring, int> entriesOf;
  for (const std::size_t entry : m_Order)
    if (!m_List.IsFolder(entry)) ++entriesOf[m_Fold(FolderOf(m_List.Source(entry)))];
  for (const auto& [sources, entries] : entriesOf)
    if (entries >= kEntriesListedTogether) m_SourceFolders.emplace(sources, nullptr);
}

// The listing of a file entry's folder, where it holds enough of the run's file entries.
cRunPlan::cBackups* cRunPlan::SourceFolderOf(const std::wstring& source) {
  const std::wstring folder = FolderOf(source);
  const auto found = m_SourceFolders.find(m_Fold(folder));
  if (found == m_SourceFolders.end()) return nullptr;
  if (!found->second) found->second = std::make_unique<cBackups>(folder, m_Fold, false);
  return found->second.get();
}

cRunPlan::~cRunPlan() = default;

void cRunPlan::TakeListingOf(cRunPlan& counted) {
  if (m_LookAtBackups && counted.m_BaseBackups && counted.m_BaseBackups->Whole()) m_BaseBackups = std::move(counted.m_BaseBackups);
  for (auto& [folder, listing] : counted.m_SourceFolders) {
    const auto mine = m_SourceFolders.find(folder);
    if (listing && listing->Whole() && mine != m_SourceFolders.end() && !mine->second) mine->second = std::move(listing);
  }
}

cRunPlan::Got cRunPlan::Next(Step& step, int budget) {
  for (;;) {
    if (!m_Frames.empty()) {
      if (Walk(*m_Frames.back(), step, budget)) return Got::Step;
      if (budget <= 0) return Got::Busy;
      continue;
    }
    if (m_Entry) {
      step = NewStep(Kind::EntryDone, m_Entry->source, {});
      m_Entry.reset();
      return Got::Step;
    }
    if (m_NextEntry == m_Order.size()) return Got::End;
    // A file entry's backup stamp comes from the listing of the destination folder, and its own
    // from that of its folder where that holds many file entries.
    if (const std::size_t index = m_Order[m_NextEntry]; !m_List.IsFolder(index)) {
      if (m_BaseBackups && !m_BaseBackups->Read(budget)) return Got::Busy;
      cBackups* folder = SourceFolderOf(m_List.Source(index));
      if (folder && !folder->Read(budget)) return Got::Busy;
    }
    if (StartEntry(step)) return Got::Step;
  }
}

// Asked once per folder that entries come from: most lists come from a few folders.
const std::wstring& cRunPlan::FileSystemOf(const std::wstring& path) {
  const std::wstring folder = FolderOf(path);
  auto [place, added] = m_FileSystems.try_emplace(m_Fold(folder));
  if (added) place->second = mFileSys::FileSystemOf(folder);
  return place->second;
}

bool cRunPlan::StartEntry(Step& step) {
  const std::size_t index = m_Order[m_NextEntry++];
  const std::wstring& source = m_List.Source(index);
  m_Entry = Entry{index, source, mBackupTimes::Between(FileSystemOf(source), m_BaseFileSystem)};
  const std::wstring destination = m_Base + m_List.DestinationName(index);
  if (!m_List.IsFolder(index)) {
    // One that cannot be asked counts as empty in the run's progress; its copy reports why.
    const cBackups* folder = SourceFolderOf(source);
    const auto stamp = folder ? folder->Of(source.substr(FolderOf(source).size())) : mFileSys::StampOf(source);
    const auto backup = m_BaseBackups ? m_BaseBackups->Of(m_List.DestinationName(index)) : std::nullopt;
    return FileStep(source, destination, stamp, backup, step);
  }
  if (m_Guard.IsDestination(source)) {
    step = NewStep(Kind::Refuse, source, destination);
    step.refusal = cSourceGuard::Refusal::DestinationIsFolder;
    return true;
  }
  return StartFolder(source, destination, step);
}

// The folder's own step; a walk of what it holds follows unless writing it is refused.
bool cRunPlan::StartFolder(const std::wstring& source, const std::wstring& destination, Step& step) {
  const cSourceGuard::Refusal refusal = m_Guard.Check(m_Entry->source, destination);
  if (refusal != cSourceGuard::Refusal::None) {
    step = NewStep(Kind::Refuse, source, destination);
    step.refusal = refusal;
    return true;
  }
  auto frame = std::make_unique<Frame>();
  frame->source = source;
  frame->destination = destination;
  m_Frames.push_back(std::move(frame));
  step = NewStep(Kind::CreateFolder, source, destination);
  return true;
}

// Gives the frame's next step; false when it needs more budget, or has ended (and is gone).
bool cRunPlan::Walk(Frame& frame, Step& step, int& budget) {
  if (!frame.listed) {
    try {
      if (!ListSource(frame, budget)) return false;
    } catch (const cFileError&) {
      step = NewStep(Kind::Fail, frame.source, frame.destination);
      step.failure = std::current_exception();
      m_Frames.pop_back();
      return true;
    }
    NameItems(frame);
  }
  if (frame.next == frame.items.Size()) {
    m_Frames.pop_back();
    return false;
  }
  const std::size_t i = frame.next;
  const bool folder = frame.items.IsFolder(i);
  if (!folder && m_LookAtBackups) {
    if (!frame.backups) frame.backups = std::make_unique<cItemBackups>(frame.destination, frame.items, frame.names, m_Fold);
    if (!frame.backups->Read(budget)) return false;
  }
  ++frame.next;
  const std::wstring target = frame.destination + L"\\" + frame.names.Of(frame.items, i);
  std::wstring source = frame.source;
  source.append(frame.items.Name(i));
  if (folder) return StartFolder(source + L"\\", target, step);
  const auto backup = frame.backups ? frame.backups->Of(i) : std::nullopt;
  return FileStep(source, target, Stamp{frame.items.Bytes(i), frame.items.Written(i)}, backup, step);
}

// Lists on; true once the folder has been read whole.
bool cRunPlan::ListSource(Frame& frame, int& budget) {
  if (!frame.listing) {
    frame.listing.emplace(frame.source);
    --budget;
  }
  while (budget > 0) {
    --budget;
    const auto item = frame.listing->Next();
    if (!item) {
      frame.listing.reset();
      frame.listed = true;
      return true;
    }
    frame.items.Add(*item);
  }
  return false;
}

// Leaves out what the walk does not enter, and gives each item left its backup's name. In name
// order, so that names alike but for case are numbered alike on every run.
void cRunPlan::NameItems(Frame& frame) {
  cFolderItems& items = frame.items;
  items.Sort();
  const bool driveRoot = frame.source.size() <= 3;
  items.Keep([&](std::size_t i) {
    const std::wstring name(items.Name(i));
    if (mFolderWalk::Classify(items.Attributes(i), items.ReparseTag(i)) == mFolderWalk::Item::Link) {
      m_Links.push_back(frame.source + name);
      return false;
    }
    return !(driveRoot && mFolderWalk::IsDriveSystemFolder(name, items.Attributes(i))) &&
           !(items.IsFolder(i) && m_Guard.IsDestination(frame.source + name));
  });
  frame.names = cFolderNames(items, m_Fold);
}

// A copy, or the refusal of one that would land on a listed source.
bool cRunPlan::FileStep(const std::wstring& source, const std::wstring& destination, const std::optional<Stamp>& stamp,
                        const std::optional<Stamp>& backup, Step& step) {
  const cSourceGuard::Refusal refusal = m_Guard.Check(m_Entry->source, destination);
  if (refusal != cSourceGuard::Refusal::None) {
    step = NewStep(Kind::Refuse, source, destination);
    step.refusal = refusal;
    return true;
  }
  step = NewStep(Kind::Copy, source, destination);
  step.bytes = stamp ? stamp->bytes : 0;
  step.stamp = stamp;
  step.times = m_Entry->times;
  step.backup = backup;
  return true;
}

cRunPlan::Step cRunPlan::NewStep(Kind kind, const std::wstring& source, const std::wstring& destination) const {
  Step step;
  step.entry = m_Entry->index;
  step.kind = kind;
  step.source = source;
  step.destination = destination;
  return step;
}

bool cRunPlan::Unchanged(const Step& step) {
  return step.stamp && step.backup && mBackupTimes::Unchanged(*step.stamp, *step.backup, step.times);
}

void cRunPlan::CreateFolder(const Step& step) { mFileSys::CreateFolder(step.destination); }
