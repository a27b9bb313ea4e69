#include "cJobList.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "cRedrawOff.h"
#include "mAppFolders.h"
#include "mShellDrop.h"

cJobList::cJobList(cBackupList& list, cBackupControls& view, std::optional<cJobStore> store)
    : m_List(list), m_View(view), m_Job(list, std::move(store)) {}

std::optional<cJobStore> cJobList::StoreFor(const mCommandLine::Request& request) {
  if (request.mode == mCommandLine::Request::Mode::OneOffJob) return std::nullopt;
  return cJobStore(mAppFolders::Roaming() + L"\\job.json");
}

std::wstring cJobList::Start(const mCommandLine::Request& request) {
  cJobKeeper::Restored restored{request.destination, {}};
  if (request.mode == mCommandLine::Request::Mode::OneOffJob) m_Job.Add(mShellDrop::AsEntries(request.sources));
  else restored = m_Job.Restore(request.Unattended());
  m_View.AddEntries(m_List, 0);
  m_View.SetText1(restored.destination);
  return restored.note;
}

std::size_t cJobList::Add(const std::vector<std::wstring>& paths) {
  const std::size_t first = m_List.Count();
  const std::size_t count = m_Job.Add(paths);
  m_View.AddEntries(m_List, first);
  Save();
  return count;
}

mEntryVolumes::Arrival cJobList::Arrived(const std::wstring& root) {
  const mEntryVolumes::Arrival arrival = m_Job.Arrived(root);
  ShowMoved(arrival.moved);
  return arrival;
}

void cJobList::Locate() { ShowMoved(m_Job.Locate()); }

// Entries listed under another root now: List1 shows their new paths, drawn once for all of them
// (under Wine each change to a drawn list repaints it, some 10 ms with thousands of entries), and
// the job keeps them.
void cJobList::ShowMoved(const std::vector<std::size_t>& entries) {
  if (entries.empty()) return;
  {
    const cRedrawOff quiet(m_View.List1.ListHwnd());
    for (const std::size_t entry : entries) m_View.List1.List(static_cast<std::int16_t>(entry), m_List.Text(entry));
  }
  Save();
}

void cJobList::Remove(std::size_t entry) {
  m_Job.Remove(entry);
  m_View.List1.RemoveItem(static_cast<std::int16_t>(entry));
  if (m_List.Count() > 0) {
    const std::size_t next = std::min(entry, m_List.Count() - 1);
    SendMessageW(m_View.List1.ListHwnd(), LB_SETCURSEL, next, 0);
  }
  Save();
}

void cJobList::Clear() {
  m_Job.Clear();
  m_View.List1.Clear();
  Save();
}

void cJobList::Save() { m_Job.Save(m_View.Text1Text()); }

void cJobList::DestinationTyped(HWND window) {
  constexpr UINT kSaveDelayMs = 1000;
  if (!m_SavePending) m_SavePending = SetTimer(window, kSaveTimer, kSaveDelayMs, nullptr) != 0;
}

void cJobList::SaveTyped(HWND window) {
  if (!std::exchange(m_SavePending, false)) return;
  KillTimer(window, kSaveTimer);
  Save();
}
