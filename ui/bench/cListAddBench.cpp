#include "cListAddBench.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <utility>

#include "cFileSet.h"
#include "cHostedWindow.h"
#include "cListHost.h"
#include "cRedrawOff.h"
#include "mBenchTiming.h"
#include "mMessagePump.h"

namespace {

double ThroughWindow(cDialogWatcher& watcher, const std::vector<std::wstring>& paths) {
  cHostedWindow host(watcher);
  const double seconds = host.Drop(paths);
  if (host.ListCount() != static_cast<int>(paths.size()) || host.Entry(host.ListCount() - 1) != paths.back())
    throw std::runtime_error("the window listed " + std::to_string(host.ListCount()) + " of " +
                             std::to_string(paths.size()) + " dropped paths");
  return seconds;
}

// One pass from an empty list to the largest size, timed (painting included) as it passes
// each size: at some 30 ms an entry a pass of 10,000 takes minutes, too long to repeat.
std::vector<double> ThroughAddItem(const std::vector<std::wstring>& paths, const std::vector<int>& sizes) {
  cListHost host;
  std::vector<double> seconds;
  const auto start = mBenchTiming::Clock::now();
  for (std::size_t i = 0; i < paths.size(); ++i) {
    host.List().AddItem(paths[i]);
    if (std::find(sizes.begin(), sizes.end(), static_cast<int>(i + 1)) == sizes.end()) continue;
    UpdateWindow(host.hwnd());
    mMessagePump::DispatchPending();
    seconds.push_back(mBenchTiming::SecondsSince(start));
    if (host.List().ListCount() != static_cast<int>(i + 1))
      throw std::runtime_error("ZListBox holds " + std::to_string(host.List().ListCount()) + " of " +
                               std::to_string(i + 1) + " added paths");
  }
  return seconds;
}

}  // namespace

cListAddBench::cListAddBench(std::wstring workFolder, std::vector<int> sizes, int rounds)
    : m_WorkFolder(std::move(workFolder)), m_Sizes(std::move(sizes)), m_Rounds(rounds) {}

double cListAddBench::Relisting(int entries) {
  const std::wstring before = L"W:\\DCIM\\IMG_1000.JPG";
  const std::wstring after = L"I:\\DCIM\\IMG_1000.JPG";
  cListHost host;
  {
    const cRedrawOff quiet(host.List().ListHwnd());
    for (int i = 0; i < entries; ++i) host.List().AddItem(before, false);
  }
  UpdateWindow(host.hwnd());
  mMessagePump::DispatchPending();
  const auto start = mBenchTiming::Clock::now();
  {
    const cRedrawOff quiet(host.List().ListHwnd());  // as the window holds it for such a change
    for (std::int16_t i = 0; i < entries; ++i) host.List().List(i, after);
  }
  UpdateWindow(host.hwnd());
  mMessagePump::DispatchPending();
  const double seconds = mBenchTiming::SecondsSince(start);
  if (host.List().List(static_cast<std::int16_t>(entries - 1)) != after)
    throw std::runtime_error("the list's last entry was not replaced");
  return seconds;
}

std::vector<cListAddBench::Figures> cListAddBench::Measure(cDialogWatcher& watcher) const {
  // Files that exist, as dropped ones do: the drop asks each path whether it is a folder.
  std::vector<int> sizes = m_Sizes;
  std::sort(sizes.begin(), sizes.end());
  const cFileSet files(m_WorkFolder + L"\\list-sources", sizes.back(), 0);
  std::vector<Figures> figures;
  for (const int size : sizes) {
    const std::vector<std::wstring> paths(files.Paths().begin(), files.Paths().begin() + size);
    std::vector<double> window;
    for (int round = 0; round < m_Rounds; ++round) window.push_back(ThroughWindow(watcher, paths));
    figures.push_back({size, mBenchTiming::Median(window), 0.0});
  }
  const std::vector<double> addItem = ThroughAddItem(files.Paths(), sizes);
  for (std::size_t i = 0; i < figures.size(); ++i) figures[i].addItem = addItem[i];
  return figures;
}
