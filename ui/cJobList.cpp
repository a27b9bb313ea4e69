#include "cJobList.h"

#include <algorithm>
#include <utility>

#include "mAppFolders.h"
#include "mShellDrop.h"
#include "mSystemVolumes.h"

cJobList::cJobList(cBackupList& list, cBackupControls& view, std::optional<cJobStore> store)
    : m_List(list), m_View(view), m_Job(std::move(store)) {}

std::optional<cJobStore> cJobList::StoreFor(const mCommandLine::Request& request) {
  if (request.mode == mCommandLine::Request::Mode::OneOffJob) return std::nullopt;
  return cJobStore(mAppFolders::Roaming() + L"\\job.json", mSystemVolumes::Get());
}

std::wstring cJobList::Start(const mCommandLine::Request& request) {
  cJobKeeper::Restored restored{request.destination, {}};
  if (request.mode == mCommandLine::Request::Mode::OneOffJob) m_List.Add(mShellDrop::AsEntries(request.sources));
  else restored = m_Job.Restore(m_List);
  m_View.AddEntries(m_List, 0);
  m_View.SetText1(restored.destination);
  return restored.note;
}

std::size_t cJobList::Add(const std::vector<std::wstring>& paths) {
  const std::size_t first = m_List.Count();
  const std::size_t count = m_List.Add(paths);
  m_View.AddEntries(m_List, first);
  Save();
  return count;
}

std::size_t cJobList::Arrived(const std::wstring& root) {
  if (m_Job.Relocate(m_List, root)) {
    m_View.List1.Clear();
    m_View.AddEntries(m_List, 0);
  }
  const auto upper = [](wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; };
  std::size_t on = 0;
  for (std::size_t i = 0; i < m_List.Count(); ++i) {
    const std::wstring& source = m_List.Source(i);
    on += source.size() >= root.size() &&
          std::equal(root.begin(), root.end(), source.begin(), [&](wchar_t a, wchar_t b) { return upper(a) == upper(b); });
  }
  return on;
}

void cJobList::Remove(std::size_t entry) {
  m_List.Remove(entry);
  m_View.List1.RemoveItem(static_cast<std::int16_t>(entry));
  if (m_List.Count() > 0) {
    const std::size_t next = std::min(entry, m_List.Count() - 1);
    SendMessageW(m_View.List1.ListHwnd(), LB_SETCURSEL, next, 0);
  }
  Save();
}

void cJobList::Clear() {
  m_List.Clear();
  m_View.List1.Clear();
  Save();
}

void cJobList::Save() { m_Job.Changed(m_List, m_View.Text1Text()); }
