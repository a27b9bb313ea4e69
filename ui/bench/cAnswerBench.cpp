#include "cAnswerBench.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <optional>
#include <stdexcept>
#include <thread>

#include "ControlIds.h"
#include "cMessageBoxClock.h"
#include "mBenchTiming.h"

namespace {

constexpr auto kProbeInterval = std::chrono::milliseconds(50);
// A window that takes longer than this to answer has stopped answering.
constexpr UINT kGiveUpMs = 60000;

struct Probe {
  std::atomic<bool> done{false};
  double longestMs = 0;
  int probes = 0;
  std::optional<mBenchTiming::Clock::time_point> stopped;  // when "停止" was pressed
  std::wstring caption;  // Label3 then
  std::wstring longestAt;  // Label3 as the longest answer came
};

// What Label3 shows, read without a message to the window's thread.
std::wstring Label3(HWND window) {
  wchar_t caption[256] = {};
  InternalGetWindowText(GetDlgItem(window, IDC_LABEL3), caption, 256);
  return caption;
}

// The benchmark's thread: asks the window every 50 ms; from the moment on, keeps the longest
// answer until the run ends, and presses "停止" once `span` has gone by (with no span, never).
void ProbeWindow(HWND window, HWND stop, const cAnswerBench::Moment& moment, std::optional<std::chrono::milliseconds> span,
                 Probe& probe) {
  std::optional<mBenchTiming::Clock::time_point> from;
  // Each answer is timed from the moment its question was due: under Wine a call that holds the
  // server up holds this thread too, and its wait is the window's all the same.
  auto due = mBenchTiming::Clock::now();
  while (!probe.done) {
    due = std::max(due + kProbeInterval, mBenchTiming::Clock::now());
    std::this_thread::sleep_until(due);
    const auto sent = due;
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kGiveUpMs, &result)) return;
    const double ms = 1000 * mBenchTiming::SecondsSince(sent);
    if (!from && moment(window)) from = mBenchTiming::Clock::now();
    if (!from) continue;
    if (ms > probe.longestMs) {
      probe.longestMs = ms;
      probe.longestAt = Label3(window);
    }
    ++probe.probes;
    if (span && !probe.stopped && mBenchTiming::Clock::now() - *from >= *span) {
      probe.caption = Label3(window);
      probe.stopped = mBenchTiming::Clock::now();
      PostMessageW(stop, BM_CLICK, 0, 0);
    }
  }
}

// The working set now, or its peak so far, in MiB.
double WorkingSetMiB(bool peak) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
  return static_cast<double>(peak ? counters.PeakWorkingSetSize : counters.WorkingSetSize) / (1 << 20);
}

}  // namespace

cAnswerBench::Figures cAnswerBench::Measure(const std::vector<std::wstring>& paths, const std::wstring& folder,
                                            const Moment& moment, std::optional<std::chrono::milliseconds> span) {
  cHostedWindow window(m_Watcher);
  window.Drop(paths);
  SetWindowTextW(window.Child(IDC_TEXT1), folder.c_str());
  m_Watcher.TakeSeen();
  HWND start = window.Child(IDC_COMMAND3);
  const double startMiB = WorkingSetMiB(false);
  Probe probe;
  std::thread prober(ProbeWindow, GetParent(start), start, std::cref(moment), span, std::ref(probe));
  std::optional<mBenchTiming::Clock::time_point> shown;
  {
    cMessageBoxClock clock;
    SendMessageW(start, BM_CLICK, 0, 0);  // returns once the run's closing message was answered
    shown = clock.Shown();
  }
  probe.done = true;
  prober.join();
  m_Watcher.TakeSeen();
  if (span && !probe.stopped) throw std::runtime_error("the run ended before its moment was measured");
  if (!shown) throw std::runtime_error("the run's closing message was not seen");
  const double stopMs = probe.stopped ? 1000 * mBenchTiming::SecondsBetween(*probe.stopped, *shown) : 0;
  return {probe.longestMs, stopMs, WorkingSetMiB(true), startMiB, probe.probes, probe.caption, probe.longestAt};
}
