#pragma once
// The window's backup loop rebuilt outside it, on the hosted window's own controls, to time
// what its drawing costs and what a loop that draws less would gain. kCurrent does per file
// what the window does; kThrottled sends the same messages to the bar and the list but keeps
// List1 from drawing between refreshes, and refreshes the list and Label3 at most every
// interval.
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "cCopyFile.h"
#include "cHostedWindow.h"
#include "mBenchTiming.h"

class cRunReplica : public cCopyFileEvents {
 public:
  enum class Mode { kCurrent, kThrottled };

  cRunReplica(cHostedWindow& host, Mode mode, std::chrono::milliseconds interval);
  using Copy = std::function<void(const std::wstring& from, const std::wstring& to)>;

  // Copies every source into folder with copy, which raises this object's events as
  // cCopyFile does (a cCopyFile made with this object as its listener, say); returns the
  // seconds taken.
  double Run(const std::vector<std::wstring>& sources, const std::wstring& folder, const Copy& copy);

 private:
  void CopyProgress(std::int64_t CopyBytes, std::int64_t AllBytes) override;
  void CopyComplete(std::int64_t AllBytes) override;
  void ShowProgressText(int current, int total);
  void KeepInView(int index);
  void RefreshIfDue(int current, int total, bool last);

  cHostedWindow& m_Host;
  Mode m_Mode;
  std::chrono::milliseconds m_Interval;
  HWND m_Window, m_List, m_Label, m_Bar;
  int m_CurIndex = 0;
  mBenchTiming::Clock::time_point m_LastRefresh;
};
