#include "cRunReplica.h"

#include <commctrl.h>

#include <algorithm>

#include "ControlIds.h"
#include "cRunPump.h"
#include "mFileHlp.h"

cRunReplica::cRunReplica(cHostedWindow& host, Mode mode, std::chrono::milliseconds interval)
    : m_Host(host),
      m_Mode(mode),
      m_Interval(interval),
      m_Window(GetParent(host.Child(IDC_LABEL3))),
      m_List(host.List()),
      m_Label(host.Child(IDC_LABEL3)),
      m_Bar(FindWindowExW(host.Child(IDC_PROGRESSBAR1), nullptr, PROGRESS_CLASSW, nullptr)) {}

double cRunReplica::Run(const std::vector<std::wstring>& sources, const std::wstring& folder, const Copy& copy) {
  const int total = static_cast<int>(sources.size());
  const auto start = mBenchTiming::Clock::now();
  m_LastRefresh = start;
  if (m_Mode == Mode::kThrottled) SendMessageW(m_List, WM_SETREDRAW, FALSE, 0);
  for (int i = 0; i < total; ++i) {
    m_CurIndex = i;
    if (m_Mode == Mode::kCurrent) {
      ShowProgressText(i + 1, total);
      KeepInView(i);
    }
    const std::wstring& source = sources[static_cast<std::size_t>(i)];
    copy(source, mFileHlp::AddBackslash(folder) + source.substr(source.rfind(L'\\') + 1));
    if (m_Mode == Mode::kCurrent) cRunPump::Pump();
    else RefreshIfDue(i + 1, total, i + 1 == total);
  }
  return mBenchTiming::SecondsSince(start);
}

void cRunReplica::CopyProgress(std::int64_t CopyBytes, std::int64_t AllBytes) {
  SendMessageW(m_Bar, PBM_SETRANGE32, 0, static_cast<LPARAM>(AllBytes));
  SendMessageW(m_Bar, PBM_SETPOS, static_cast<WPARAM>(CopyBytes), 0);
  if (m_Mode == Mode::kCurrent) cRunPump::Pump();
}

void cRunReplica::CopyComplete(std::int64_t) {
  // ZListBox's "set text": read, delete, insert at the same place, keep the top entry.
  const auto index = static_cast<WPARAM>(m_CurIndex);
  std::wstring text = m_Host.Entry(m_CurIndex);
  text.insert(text.begin(), L'\u221A');
  const LRESULT top = SendMessageW(m_List, LB_GETTOPINDEX, 0, 0);
  SendMessageW(m_List, LB_DELETESTRING, index, 0);
  SendMessageW(m_List, LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(text.c_str()));
  SendMessageW(m_List, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
}

void cRunReplica::ShowProgressText(int current, int total) {
  SetWindowTextW(m_Label, (L"备份进度：" + std::to_wstring(current) + L"/" + std::to_wstring(total)).c_str());
  RECT r{};
  GetWindowRect(m_Label, &r);
  MapWindowPoints(nullptr, m_Window, reinterpret_cast<POINT*>(&r), 2);
  RedrawWindow(m_Window, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void cRunReplica::KeepInView(int index) {
  RECT client{};
  GetClientRect(m_List, &client);
  const auto itemHeight = std::max<LRESULT>(1, SendMessageW(m_List, LB_GETITEMHEIGHT, 0, 0));
  const int rows = std::max(1, static_cast<int>(client.bottom / itemHeight));
  const int top = static_cast<int>(SendMessageW(m_List, LB_GETTOPINDEX, 0, 0));
  if (index < top || index >= top + rows)
    SendMessageW(m_List, LB_SETTOPINDEX, static_cast<WPARAM>(std::max(0, index - rows / 2)), 0);
}

void cRunReplica::RefreshIfDue(int current, int total, bool last) {
  const auto now = mBenchTiming::Clock::now();
  if (!last && now - m_LastRefresh < m_Interval) return;
  m_LastRefresh = now;
  KeepInView(current - 1);
  // Turning drawing back on lays out the scroll bars once and repaints the list once.
  SendMessageW(m_List, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(m_List, nullptr, TRUE);
  ShowProgressText(current, total);
  cRunPump::Pump();
  if (!last) SendMessageW(m_List, WM_SETREDRAW, FALSE, 0);
}
