#include "cSmallFileSteps.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <thread>
#include <utility>
#include <vector>

#include "cCopyFile.h"
#include "cCopyFlight.h"
#include "cFile.h"
#include "cPlatformCopy.h"
#include "mFileSys.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

fs::path Native(const std::wstring& path) {
#ifdef _WIN32
  return fs::path(path);
#else
  std::string narrow(path.begin(), path.end());  // the benchmark's own ASCII names
  return fs::path(narrow);
#endif
}

std::wstring Wide(const fs::path& path) {
#ifdef _WIN32
  return path.wstring();
#else
  const std::string narrow = path.string();
  return std::wstring(narrow.begin(), narrow.end());
#endif
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The engine's steps for a file new to its folder, in its order, each adding its time to its
// own slot.
enum Step { kCreate, kMeasure, kOpen, kRead, kWrite, kFlush, kVerify, kShow, kTimes, kClose, kCloseSource, kSteps };
const char* const kStepNames[kSteps] = {"create", "measure", "open source", "read",  "write",       "flush",
                                        "read back", "show", "times", "close", "close source"};

class cStepClock {
 public:
  template <class Action>
  decltype(auto) Time(Step step, Action&& action) {
    const auto start = Clock::now();
    struct AddOnExit {
      double& slot;
      Clock::time_point start;
      ~AddOnExit() { slot += std::chrono::duration<double>(Clock::now() - start).count(); }
    } add{m_Seconds[step], start};
    return std::forward<Action>(action)();
  }
  double operator[](int step) const { return m_Seconds[step]; }

 private:
  double m_Seconds[kSteps] = {};
};

void CopyBySteps(const std::wstring& from, const std::wstring& to, std::vector<std::byte>& buffer, cStepClock& clock) {
  cFile target = clock.Time(kCreate, [&] { return *cFile::TryCreateNew(to, cFile::Shown::WhenRevealed); });
  const auto length = clock.Time(kMeasure, [&] { return mFileSys::FileLength(from); });
  cFile source = clock.Time(kOpen, [&] { return cFile::OpenForReading(from); });
  buffer.resize(static_cast<std::size_t>(length));
  clock.Time(kRead, [&] { return source.Read(buffer); });
  clock.Time(kWrite, [&] { target.Write(buffer); });
  clock.Time(kFlush, [&] { target.Flush(); });
  clock.Time(kVerify, [&] { mFileSys::ReadBack(to, [](std::span<const std::byte>) { return true; }); });
  clock.Time(kShow, [&] { target.SetAttributes({}); });
  clock.Time(kTimes, [&] { target.SetLastWriteTime(source.LastWriteTime()); });
  clock.Time(kClose, [&] { target.Close(); });
  clock.Time(kCloseSource, [&] { source.Close(); });
}

// The same steps with no run around them, on `threads` threads that each take every
// threads-th file: how far the file layer alone goes with several files at once, for the
// window bench's rows of the engine's flight. Gives the pass's seconds.
double CopyByStepsOnThreads(const std::vector<std::wstring>& from, const std::vector<std::wstring>& to, std::size_t threads) {
  std::vector<std::thread> workers;
  std::vector<std::exception_ptr> errors(threads);
  const auto start = Clock::now();
  for (std::size_t t = 0; t < threads; ++t) {
    workers.emplace_back([&, t] {
      try {
        std::vector<std::byte> buffer;
        cStepClock unused;
        for (std::size_t i = t; i < from.size(); i += threads) CopyBySteps(from[i], to[i], buffer, unused);
      } catch (...) {
        errors[t] = std::current_exception();
      }
    });
  }
  for (auto& worker : workers) worker.join();
  for (const auto& error : errors)
    if (error) std::rethrow_exception(error);
  return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

cSmallFileSteps::cSmallFileSteps(std::wstring folder, int files, int fileBytes)
    : m_Folder(std::move(folder)), m_Files(files), m_FileBytes(fileBytes) {}

void cSmallFileSteps::Print(int rounds) const {
  const fs::path root = Native(m_Folder) / "small-steps";
  fs::remove_all(root);
  fs::create_directories(root / "sources");
  std::vector<std::wstring> sources, names;
  std::vector<std::byte> content(static_cast<std::size_t>(m_FileBytes));
  for (int i = 0; i < m_Files; ++i) {
    const std::wstring name = L"file-" + std::to_wstring(i) + L".bin";
    const std::wstring path = Wide(root / "sources" / Native(name));
    for (std::size_t b = 0; b < content.size(); ++b) content[b] = static_cast<std::byte>((b * 31 + static_cast<std::size_t>(i)) & 0xFF);
    cFile out = cFile::CreateNew(path);
    out.Write(content);
    out.Flush();
    out.Close();
    sources.push_back(path);
    names.push_back(name);
  }
  // Runs one whole pass into a fresh folder and gives its seconds.
  const auto pass = [&](const char* folder, const std::function<void(const std::wstring&, const std::wstring&)>& copy) {
    const fs::path target = root / folder;
    fs::remove_all(target);
    fs::create_directories(target);
    const auto start = Clock::now();
    for (int i = 0; i < m_Files; ++i) copy(sources[static_cast<std::size_t>(i)], Wide(target / Native(names[static_cast<std::size_t>(i)])));
    return std::chrono::duration<double>(Clock::now() - start).count();
  };
  cCopyFile engine;
  engine.BufferSize(0x400000);
  std::vector<double> engineTimes, platformFlushed, platformPlain;
  cStepClock steps;
  std::vector<std::byte> buffer;
  std::vector<double> stepsAlone, stepsInLanes;
  // The bare steps into a fresh folder on `threads` threads.
  const auto threaded = [&](const char* folder, std::size_t threads) {
    const fs::path target = root / folder;
    fs::remove_all(target);
    fs::create_directories(target);
    std::vector<std::wstring> to;
    for (const auto& name : names) to.push_back(Wide(target / Native(name)));
    return CopyByStepsOnThreads(sources, to, threads);
  };
  for (int round = 0; round < rounds; ++round) {
    engineTimes.push_back(pass("engine", [&](const std::wstring& from, const std::wstring& to) { engine.CopyFile(from, to); }));
    platformFlushed.push_back(pass("platform-flush", [](const std::wstring& from, const std::wstring& to) { cPlatformCopy::Copy(from, to, true); }));
    platformPlain.push_back(pass("platform", [](const std::wstring& from, const std::wstring& to) { cPlatformCopy::Copy(from, to, false); }));
    pass("steps", [&](const std::wstring& from, const std::wstring& to) { CopyBySteps(from, to, buffer, steps); });
    stepsAlone.push_back(threaded("steps-1", 1));
    stepsInLanes.push_back(threaded("steps-lanes", cCopyFlight::kLanes));
  }
  const double files = m_Files;
  std::printf("%s small files: %d files of %d KiB, median of %d rounds: engine %.0f files/s, %s+flush %.0f files/s, "
              "ratio %.2f; %s without flush %.0f files/s\n",
              cPlatformCopy::Name(), m_Files, m_FileBytes / 1024, rounds, files / Median(engineTimes),
              cPlatformCopy::Tool(), files / Median(platformFlushed), Median(platformFlushed) / Median(engineTimes),
              cPlatformCopy::Tool(), files / Median(platformPlain));
  std::printf("%s small file steps, microseconds a file:", cPlatformCopy::Name());
  double total = 0;
  for (int step = 0; step < kSteps; ++step) {
    const double micro = steps[step] / (files * rounds) * 1e6;
    total += micro;
    std::printf("%s %s %.0f", step ? "," : "", kStepNames[step], micro);
  }
  std::printf("; all %.0f; engine %.0f, %s+flush %.0f\n", total, Median(engineTimes) / files * 1e6,
              cPlatformCopy::Tool(), Median(platformFlushed) / files * 1e6);
  std::printf("%s small file steps on threads, no run around them: 1 thread %.0f files/s, %zu threads %.0f files/s "
              "(%.2f x one thread, %.2f x %s+flush)\n",
              cPlatformCopy::Name(), files / Median(stepsAlone), cCopyFlight::kLanes, files / Median(stepsInLanes),
              Median(stepsAlone) / Median(stepsInLanes), Median(platformFlushed) / Median(stepsInLanes), cPlatformCopy::Tool());
  std::fflush(stdout);
  fs::remove_all(root);
}
