// The backup window's figures under Wine, printed like the engine benchmark's:
//   2,000 files of 4 KiB through a real run of the window (files dropped onto it, Text1 set,
//   "开始" pressed, the closing message answered) against a CopyFileW loop, with a flush of
//   every copy as the engine does and, for information, without;
//   paths added to List1 through the window's add path and through plain ZListBox::AddItem,
//   at 2,500, 5,000 and 10,000 entries, to show whether the time grows linearly.
// Usage: window_bench [folder] [rounds]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cDialogWatcher.h"
#include "cListAddBench.h"
#include "cPlatformCopy.h"
#include "cPlatformError.h"
#include "cSmallFileBench.h"
#include "cWatchdog.h"
#include "mText.h"

namespace {

constexpr int kSmallFiles = 2000;
constexpr int kSmallFileBytes = 4096;
// Far beyond what a run takes today; only a window that stopped answering reaches it.
constexpr std::chrono::seconds kDeadline{1800};

void PrintSmallFiles(const std::wstring& folder, int rounds, cDialogWatcher& watcher) {
  std::printf("%s small files: %d files of %d KiB, median of %d alternating rounds\n", cPlatformCopy::Name(),
              kSmallFiles, kSmallFileBytes / 1024, rounds);
  std::fflush(stdout);
  const cWatchdog watchdog("the small-file runs", kDeadline);
  const auto f = cSmallFileBench(folder, kSmallFiles, kSmallFileBytes, rounds).Measure(watcher);
  std::printf("%s small files with flush: window %.0f files/s, CopyFileW+flush %.0f files/s, ratio %.2f\n",
              cPlatformCopy::Name(), f.window, f.copyFlushed, f.window / f.copyFlushed);
  std::printf("%s small files without flush: window %.0f files/s (always flushed), CopyFileW %.0f files/s, ratio %.2f\n",
              cPlatformCopy::Name(), f.window, f.copyPlain, f.window / f.copyPlain);
  std::printf("%s small files again, all unchanged: second run %.2f s, first run %.2f s, share %.1f %% (target under 5 %%)\n",
              cPlatformCopy::Name(), f.againRun, f.firstRun, 100.0 * f.againRun / f.firstRun);
  std::fflush(stdout);
}

double MillisecondsPerThousand(double seconds, int paths) { return seconds * 1e6 / paths; }

void PrintListAdd(const std::wstring& folder, int rounds, cDialogWatcher& watcher) {
  std::printf("%s list add: paths into an empty List1; window: a drop (AddItem per path, one scroll and repaint), "
              "median of %d rounds; AddItem one at a time, scrolled and drawn: one pass timed at each size\n",
              cPlatformCopy::Name(), rounds);
  std::fflush(stdout);
  const cWatchdog watchdog("the list additions", kDeadline);
  const auto figures = cListAddBench(folder, {2500, 5000, 10000}, rounds).Measure(watcher);
  for (const auto& f : figures) {
    std::printf("%s list add %d paths: window %.2f s (%.0f ms per 1000), AddItem one at a time on show %.2f s "
                "(%.0f ms per 1000), window %.0fx faster\n",
                cPlatformCopy::Name(), f.paths, f.window, MillisecondsPerThousand(f.window, f.paths), f.addItem,
                MillisecondsPerThousand(f.addItem, f.paths), f.addItem / f.window);
  }
  const auto& first = figures.front();
  const auto& last = figures.back();
  const auto growth = [&](double a, double b) {
    return MillisecondsPerThousand(b, last.paths) / MillisecondsPerThousand(a, first.paths);
  };
  std::printf("%s list add growth %d to %d (per-1000 time, 1.00 is linear): window %.2f, AddItem %.2f\n",
              cPlatformCopy::Name(), first.paths, last.paths, growth(first.window, last.window),
              growth(first.addItem, last.addItem));
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const std::wstring folder = argc > 1 ? mText::FromUtf8(argv[1]) : L".";
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    cDialogWatcher watcher;
    PrintSmallFiles(folder, rounds, watcher);
    PrintListAdd(folder, rounds, watcher);
    return 0;
  } catch (const cPlatformError& error) {
    std::fprintf(stderr, "window_bench: %s\n", mText::ToUtf8(error.Describe()).c_str());
    return 1;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "window_bench: %s\n", error.what());
    return 1;
  }
}
