#include "cSmallFileBench.h"

#include <functional>
#include <iterator>
#include <utility>
#include <vector>

#include "cCopyFile.h"
#include "cFileSet.h"
#include "cHostedWindow.h"
#include "cPlatformCopy.h"
#include "cScratchFolder.h"
#include "mBenchTiming.h"

namespace {

double CopyLoop(const std::vector<std::wstring>& sources, const cScratchFolder& target, bool flush) {
  const auto start = mBenchTiming::Clock::now();
  for (const auto& source : sources)
    cPlatformCopy::Copy(source, target.Child(source.substr(source.rfind(L'\\') + 1)), flush);
  return mBenchTiming::SecondsSince(start);
}

// The engine alone, as the window's run drives it: 4 MiB chunks, each copy flushed and read back.
double EngineLoop(const std::vector<std::wstring>& sources, const cScratchFolder& target) {
  cCopyFile engine;
  engine.BufferSize(0x400000);
  const auto start = mBenchTiming::Clock::now();
  for (const auto& source : sources) engine.CopyFile(source, target.Child(source.substr(source.rfind(L'\\') + 1)));
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
  std::vector<double> window, again, flushed, plain, engine;
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
      [&] {
        engineTarget.Reset();
        engine.push_back(EngineLoop(sources.Paths(), engineTarget));
      },
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
  return {files / mBenchTiming::Median(window), files / mBenchTiming::Median(flushed),
          files / mBenchTiming::Median(plain), files / mBenchTiming::Median(engine), mBenchTiming::Median(window),
          mBenchTiming::Median(again)};
}
