// The backup window's figures under Wine, printed like the engine benchmark's:
//   2,000 files of 4 KiB through a real run of the window (files dropped onto it, Text1 set,
//   "开始" pressed, the closing message answered) against the copy engine alone and a CopyFileW
//   loop, with a flush of every copy as the engine does and, for information, without;
//   paths added to List1 through the window's add path and through plain ZListBox::AddItem,
//   at 2,500, 5,000 and 10,000 entries, to show whether the time grows linearly;
//   with --answer, how the window answers during a run and how soon "停止" ends it, in one of
//   four moments: a folder entry of many files while it is counted or copied, a large file
//   while its chunks are written, or once its last chunk is (stopped at once: its last part
//   is still to be flushed and read back);
//   with --whole, a large file's run measured from "开始" to its closing message, and a second
//   run stopped as its last chunk is written (the copy's flush and read-back still to come);
//   with --many, a folder entry of very many files run twice through the window (into an empty
//   destination, then unchanged, each in a window of its own), with the process's peak memory.
// Usage: window_bench [folder] [rounds]
//        window_bench --answer counted|copied FOLDER DESTINATION
//        window_bench --answer chunks|readback FILE DESTINATION
//        window_bench --whole FILE DESTINATION
//        window_bench --many LABEL FOLDER DESTINATION
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "ControlIds.h"
#include "cAnswerBench.h"
#include "cDialogWatcher.h"
#include "cListAddBench.h"
#include "cMemoryMeter.h"
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
// Under Wine each new name in a folder is looked up through the whole folder: 100,000 files
// into one folder take half an hour and more there.
constexpr std::chrono::hours kManyFilesDeadline{3};

void PrintSmallFiles(const std::wstring& folder, int rounds, cDialogWatcher& watcher) {
  std::printf("%s small files: %d files of %d KiB, median of %d rounds, the passes taking turns\n", cPlatformCopy::Name(),
              kSmallFiles, kSmallFileBytes / 1024, rounds);
  std::fflush(stdout);
  const cWatchdog watchdog("the small-file runs", kDeadline);
  const auto f = cSmallFileBench(folder, kSmallFiles, kSmallFileBytes, rounds).Measure(watcher);
  std::printf("%s small files with flush: window %.0f files/s, CopyFileW+flush %.0f files/s, ratio %.2f "
              "(target at least 1.50)\n",
              cPlatformCopy::Name(), f.window, f.copyFlushed, f.window / f.copyFlushed);
  const std::size_t lanes = std::size(cSmallFileBench::kFlightLanes);
  std::printf("%s small files, the engine's own rate: window %.0f files/s, engine alone %.0f files/s, ratio %.2f "
              "(target at least 0.90)\n",
              cPlatformCopy::Name(), f.window, f.engine[lanes - 1], f.window / f.engine[lanes - 1]);
  for (std::size_t row = 0; row < lanes; ++row)
    std::printf("%s small files, engine, %zu file%s in flight: %.0f files/s, %.2f x one in flight\n", cPlatformCopy::Name(),
                cSmallFileBench::kFlightLanes[row], row == 0 ? "" : "s", f.engine[row], f.engine[row] / f.engine[0]);
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
  constexpr int kRelisted = 2000;
  const double relisting = cListAddBench::Relisting(kRelisted);
  std::printf("%s list relisted: %d entries of one width, each replaced by a narrower path (a stick back under "
              "another letter): %.2f s, %.0f us per entry\n",
              cPlatformCopy::Name(), kRelisted, relisting, relisting * 1e6 / kRelisted);
  std::fflush(stdout);
}

// What Label3 shows, read without a message to the window's thread.
std::wstring Label3(HWND window) {
  wchar_t text[256] = {};
  InternalGetWindowText(GetDlgItem(window, IDC_LABEL3), text, 256);
  return text;
}

// The length of the copy the run writes: the new backup under its own name, hidden until whole.
std::int64_t Written(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
}

int MeasureAnswer(const std::string& moment, const std::wstring& source, const std::wstring& destination,
                  cDialogWatcher& watcher) {
  const std::wstring name = source.substr(source.find_last_of(L'\\') + 1);
  const std::wstring copy = destination + L"\\" + name;
  const std::int64_t length = Written(source);
  cAnswerBench::Moment when;
  auto span = std::chrono::milliseconds(3000);
  if (moment == "counted") {
    when = [](HWND) { return true; };  // counting comes first
    span = std::chrono::milliseconds(500);
  }
  if (moment == "copied") when = [](HWND w) { return Label3(w).rfind(L"备份进度", 0) == 0; };
  if (moment == "chunks") when = [copy](HWND) { return Written(copy) > 0; };
  // The earlier parts are read back while the rest is written: what is left once the last chunk
  // is written, the last part's flush and read-back, can end the run within a second or two.
  // "停止" is pressed at once.
  if (moment == "readback") {
    when = [copy, length](HWND) { return Written(copy) == length; };
    span = std::chrono::milliseconds(0);
  }
  if (!when) throw std::invalid_argument("unknown moment " + moment);
  const cWatchdog watchdog("the run measured " + moment, kDeadline);
  const bool folder = moment == "counted" || moment == "copied";
  const auto f = cAnswerBench(watcher).Measure({folder ? source + L"\\" : source}, destination, when, span);
  std::printf("window during a run, %s: longest wait %.0f ms, stop %.0f ms, peak %.0f MiB (%s; %.0f MiB before the run; "
              "%d answers timed; Label3 at the stop: %s)\n",
              moment.c_str(), f.longestWaitMs, f.stopMs, f.peakMiB, cPlatformCopy::Name(), f.startMiB, f.probes,
              mText::ToUtf8(f.stoppedAt).c_str());
  std::fflush(stdout);
  return 0;
}

int MeasureWhole(const std::wstring& source, const std::wstring& destination, cDialogWatcher& watcher) {
  const std::wstring copy = destination + L"\\" + source.substr(source.find_last_of(L'\\') + 1);
  const std::int64_t length = Written(source);
  const cWatchdog watchdog("the whole runs of a large file", kDeadline);
  const auto whole = cAnswerBench(watcher).Measure({source}, destination, [](HWND) { return true; }, std::nullopt);
  DeleteFileW(copy.c_str());
  const auto stopped = cAnswerBench(watcher).Measure(
      {source}, destination, [copy, length](HWND) { return Written(copy) == length; }, std::chrono::milliseconds(0));
  const auto& longest = whole.longestWaitMs >= stopped.longestWaitMs ? whole : stopped;
  std::printf("window during a run, %.0f MiB file on the local disk, to the closing message: longest wait %.0f ms, "
              "stop %.0f ms (%s; %d answers timed; Label3 at the longest: %s; stopped as the last chunk was written; "
              "targets at most 100 ms and 500 ms)\n",
              static_cast<double>(length) / (1 << 20), longest.longestWaitMs, stopped.stopMs, cPlatformCopy::Name(),
              whole.probes + stopped.probes, mText::ToUtf8(longest.longestAt).c_str());
  std::fflush(stdout);
  return 0;
}

// Both runs in this one process, so that the peak is the larger of the two.
int MeasureMany(const std::string& label, const std::wstring& folder, const std::wstring& destination,
                cDialogWatcher& watcher) {
  const cWatchdog watchdog("the runs over " + label, kManyFilesDeadline);
  double seconds[2] = {};
  for (double& run : seconds) {
    cHostedWindow host(watcher);
    host.Drop({folder + L"\\"});
    run = host.Run(destination);
    host.ExpectAllMarked(1);
  }
  std::printf("%s: peak %.0f MiB, first run %.1f s, unchanged run %.1f s (%s; target: peak at most 64 MiB)\n",
              label.c_str(), static_cast<double>(cMemoryMeter::PeakBytes()) / (1 << 20), seconds[0], seconds[1],
              cPlatformCopy::Name());
  std::fflush(stdout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc == 5 && std::string(argv[1]) == "--answer") {
      cDialogWatcher watcher;
      return MeasureAnswer(argv[2], mText::FromUtf8(argv[3]), mText::FromUtf8(argv[4]), watcher);
    }
    if (argc == 4 && std::string(argv[1]) == "--whole") {
      cDialogWatcher watcher;
      return MeasureWhole(mText::FromUtf8(argv[2]), mText::FromUtf8(argv[3]), watcher);
    }
    if (argc == 5 && std::string(argv[1]) == "--many") {
      cDialogWatcher watcher;
      return MeasureMany(argv[2], mText::FromUtf8(argv[3]), mText::FromUtf8(argv[4]), watcher);
    }
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
