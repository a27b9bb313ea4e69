#include "cJobList.h"

#include <algorithm>
#include <utility>

cJobList::cJobList(cBackupList& list, cBackupControls& view, std::optional<cJobStore> store)
    : m_List(list), m_View(view), m_Job(std::move(store)) {}

std::wstring cJobList::Restore() {
  const cJobKeeper::Restored restored = m_Job.Restore(m_List);
  m_View.AddEntries(m_List, 0);
  m_View.SetText1(restored.destination);
  return restored.note;
}

void cJobList::Set(const std::wstring& destination, const std::vector<std::wstring>& sources) {
  m_List.Add(sources);
  m_View.AddEntries(m_List, 0);
  m_View.SetText1(destination);
}

std::size_t cJobList::Add(const std::vector<std::wstring>& paths) {
  const std::size_t first = m_List.Count();
  const std::size_t count = m_List.Add(paths);
  m_View.AddEntries(m_List, first);
  Save();
  return count;
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
