#pragma once
// How the window answers during a run. A thread of the benchmark sends the window a message every
// 50 ms and times each answer; once the case's moment has come (counting, copying, a large
// file's chunks, its read-back) it keeps timing to the run's end, pressing "停止" after a while,
// and times how long the run takes to end. The process's peak memory is read at the end.
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cDialogWatcher.h"
#include "cHostedWindow.h"

class cAnswerBench {
 public:
  struct Figures {
    double longestWaitMs;  // the longest answer while the case's moment lasted
    double stopMs;         // from "停止" to the run's closing message
    double peakMiB;        // the process's peak working set
    double startMiB;       // its working set before the run began
    int probes;            // answers timed during the moment
    std::wstring stoppedAt;  // what Label3 read when "停止" was pressed
    std::wstring longestAt;  // what Label3 read as the longest answer came
  };
  // Whether the case's moment has come, from what the window and the disk show; asked on the
  // benchmark's own thread, so it must not send the window messages.
  using Moment = std::function<bool(HWND window)>;

  explicit cAnswerBench(cDialogWatcher& watcher) : m_Watcher(watcher) {}

  // Drops `paths`, runs into `folder`, and measures from `moment` on until the run's closing
  // message, stopping the run once `span` has gone by; with no span, stops nothing.
  Figures Measure(const std::vector<std::wstring>& paths, const std::wstring& folder, const Moment& moment,
                  std::optional<std::chrono::milliseconds> span);

 private:
  cDialogWatcher& m_Watcher;
};
