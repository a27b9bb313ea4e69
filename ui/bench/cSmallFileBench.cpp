#include "cSmallFileBench.h"

#include <chrono>
#include <exception>
#include <functional>
#include <optional>
#include <iterator>
#include <utility>
#include <vector>

#include "cCopyFile.h"
#include "cCopyFlight.h"
#include "cFileSet.h"
#include "cHostedWindow.h"
#include "cPlatformCopy.h"
#include "cScratchFolder.h"
#include "mBenchTiming.h"

namespace {

static_assert(cSmallFileBench::kFlightLanes[std::size(cSmallFileBench::kFlightLanes) - 1] == cCopyFlight::kLanes,
              "the last engine row copies as the window's run does");

double CopyLoop(const std::vector<std::wstring>& sources, const cScratchFolder& target, bool flush) {
  const auto start = mBenchTiming::Clock::now();
  for (const auto& source : sources)
    cPlatformCopy::Copy(source, target.Child(source.substr(source.rfind(L'\\') + 1)), flush);
  return mBenchTiming::SecondsSince(start);
}

// The engine alone: 4 MiB chunks, each copy flushed and read back, `lanes` files in flight (the
// window's run keeps cCopyFlight::kLanes).
double FlightLoop(const std::vector<std::wstring>& sources, const cScratchFolder& target, std::size_t lanes) {
  cCopyFile model;
  model.BufferSize(0x400000);
  cCopyFlight flight(model, lanes);
  const auto land = [&] {
    std::optional<cCopyFlight::Result> result;
    while (!(result = flight.TakeOldest(std::chrono::milliseconds(20)))) {
    }
    if (result->failure) std::rethrow_exception(result->failure);
  };
  const auto start = mBenchTiming::Clock::now();
  for (const auto& source : sources) {
    if (flight.InFlight() == lanes) land();
    flight.Launch(source, target.Child(source.substr(source.rfind(L'\\') + 1)));
  }
  while (flight.InFlight() > 0) land();
  return mBenchTiming::SecondsSince(start);
}

}  // namespace

cSmallFileBench::cSmallFileBench(std::wstring workFolder, int files, int fileBytes, int rounds)
    : m_WorkFolder(std::move(workFolder)), m_Files(files), m_FileBytes(fileBytes), m_Rounds(rounds) {}

cSmallFileBench::Figures cSmallFileBench::Measure(cDialogWatcher& watcher) const {
  const cFileSet sources(m_WorkFolder + L"\\small-sources", m_Files, static_cast<std::size_t>(m_FileBytes));
  const cScratchFolder windowTarget(m_WorkFolder + L"\\small-window");
  const cScratchFolder flushedTarget(m_WorkFolder + L"\\small-copy-flush");
  const cScratchFolder plainTarget(m_WorkFolder + L"\\small-copy");
  const cScratchFolder engineTarget(m_WorkFolder + L"\\small-engine");
  std::vector<double> window, again, flushed, plain, engine[std::size(kFlightLanes)];
  const auto FlightPass = [&](std::size_t row) {
    engineTarget.Reset();
    engine[row].push_back(FlightLoop(sources.Paths(), engineTarget, kFlightLanes[row]));
  };
  const std::function<void()> passes[] = {
      [&] {
        windowTarget.Reset();
        {
          // A fresh window each round: a finished run leaves every entry marked, and a marked
          // entry is not copied again.
          cHostedWindow host(watcher);
          host.Drop(sources.Paths());
          window.push_back(host.Run(windowTarget.Path()));
          host.ExpectAllMarked(m_Files);
        }
        cHostedWindow host(watcher);  // a later session: its backups are all there
        host.Drop(sources.Paths());
        again.push_back(host.Run(windowTarget.Path()));
        host.ExpectAllMarked(m_Files);
        sources.ExpectCopiedTo(windowTarget.Path());
      },
      [&] {
        flushedTarget.Reset();
        flushed.push_back(CopyLoop(sources.Paths(), flushedTarget, true));
      },
      [&] {
        plainTarget.Reset();
        plain.push_back(CopyLoop(sources.Paths(), plainTarget, false));
      },
      [&] { FlightPass(0); },
      [&] { FlightPass(1); },
      [&] { FlightPass(2); },
  };
  // Each round starts one pass later: no pass always comes after the same other, whose
  // unflushed writes or removals it would pay for.
  constexpr int kPasses = static_cast<int>(std::size(passes));
  for (int round = 0; round < m_Rounds; ++round)
    for (int pass = 0; pass < kPasses; ++pass) passes[(round + pass) % kPasses]();
  sources.ExpectCopiedTo(engineTarget.Path());
  sources.ExpectCopiedTo(flushedTarget.Path());
  sources.ExpectCopiedTo(plainTarget.Path());
  const double files = m_Files;
  Figures figures{files / mBenchTiming::Median(window), files / mBenchTiming::Median(flushed),
                  files / mBenchTiming::Median(plain), {}, mBenchTiming::Median(window), mBenchTiming::Median(again)};
  for (std::size_t row = 0; row < std::size(kFlightLanes); ++row)
    figures.engine[row] = files / mBenchTiming::Median(engine[row]);
  return figures;
}
