// Copies a generated 1 GiB file with cCopyFile (4 MiB chunks) and with the platform's own copy,
// alternating the two, with and without the final flush to stable storage, and prints
// "<platform>: engine <MB/s> MB/s, platform <MB/s> MB/s, ratio <r>, peak <MiB> MiB".
// Usage: engine_bench [folder] [rounds]
//
// With --device, copies an existing file from a device that reads at R MB/s to a folder on one
// that writes at W MB/s (the device rig, mounted by bench.sh), with the engine and then with
// the platform's copy, both with the flush, and prints
// "device R/W: engine <MB/s>, slower device <MB/s>, ratio <engine / min(R, W)>" and the same
// for the platform's copy; on the row of equal devices also what reading every copy back to
// check it costs, as a share of the run.
// Usage: engine_bench --device SOURCE FOLDER R W [rounds]
//
// With --small, 2,000 files of 4 KiB: the engine against the platform's copy with a flush of
// every file, and the time of each of the engine's steps.
// Usage: engine_bench --small [folder] [rounds] [files]
//
// With --versions, a second run over 2,000 changed files of 4 KiB: each older backup kept as a
// version against each deleted, and what keeping them costs.
// Usage: engine_bench --versions [folder] [rounds] [files]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "cCopyFile.h"
#include "cFile.h"
#include "cFileError.h"
#include "cMemoryMeter.h"
#include "cPlatformCopy.h"
#include "cSmallFileSteps.h"
#include "cVersionBench.h"
#include "mFileSys.h"
#include "mText.h"

namespace {

constexpr std::int64_t kFileBytes = std::int64_t{1} << 30;
constexpr std::int32_t kChunk = 0x400000;
constexpr int kSmallFiles = 2000;
constexpr int kSmallFileBytes = 4096;

std::wstring Join(const std::wstring& folder, const std::wstring& name) {
#ifdef _WIN32
  return folder + L"\\" + name;
#else
  return folder + L"/" + name;
#endif
}

void Generate(const std::wstring& path) {
  mFileSys::RemoveFile(path);
  cFile out = cFile::CreateNew(path);
  // A small block, so that the generator adds nothing to the peak the copies are measured by.
  std::vector<std::byte> block(64 * 1024);
  std::uint32_t state = 12345;
  for (std::int64_t written = 0; written < kFileBytes; written += static_cast<std::int64_t>(block.size())) {
    for (std::size_t i = 0; i < block.size(); i += 64) {
      state = state * 1664525u + 1013904223u;
      block[i] = static_cast<std::byte>(state >> 24);
    }
    out.Write(block);
  }
  // On stable storage before timing starts: otherwise its write-back lands in the first copies
  // without flush, and their figures swung between a third and twice the platform's.
  out.Flush();
  out.Close();
}

double Seconds(const std::function<void()>& action) {
  const auto start = std::chrono::steady_clock::now();
  action();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double MegabytesPerSecond(double seconds) { return static_cast<double>(kFileBytes) / 1e6 / seconds; }

void RunMode(const std::wstring& folder, bool flush, int rounds, std::uint64_t baseline) {
  const std::wstring source = Join(folder, L"bench-source.bin");
  const std::wstring engineTarget = Join(folder, L"bench-engine.bin");
  const std::wstring platformTarget = Join(folder, L"bench-platform.bin");
  cCopyFile engine(nullptr, cCopyFile::Options{flush});
  engine.BufferSize(kChunk);
  std::vector<double> engineTimes, platformTimes;
  for (int round = 0; round < rounds; ++round) {
    mFileSys::RemoveFile(engineTarget);
    mFileSys::RemoveFile(platformTarget);
    engineTimes.push_back(Seconds([&] { engine.CopyFile(source, engineTarget); }));
    platformTimes.push_back(Seconds([&] { cPlatformCopy::Copy(source, platformTarget, flush); }));
  }
  mFileSys::RemoveFile(engineTarget);
  mFileSys::RemoveFile(platformTarget);
  const double engineRate = MegabytesPerSecond(Median(engineTimes));
  const double platformRate = MegabytesPerSecond(Median(platformTimes));
  const double peak = static_cast<double>(cMemoryMeter::PeakBytes() - baseline) / 1048576.0;
  std::printf("%s%s: engine %.0f MB/s, platform %.0f MB/s, ratio %.2f, peak %.1f MiB\n",
              cPlatformCopy::Name(), flush ? " with flush" : " without flush", engineRate,
              platformRate, engineRate / platformRate, peak);
  std::fflush(stdout);
}

void RunDevice(const std::wstring& source, const std::wstring& folder, double readMbps, double writeMbps,
               int rounds) {
  const std::wstring engineTarget = Join(folder, L"bench-engine.bin");
  const std::wstring platformTarget = Join(folder, L"bench-platform.bin");
  const double bytes = static_cast<double>(mFileSys::FileLength(source));
  cCopyFile engine;
  engine.BufferSize(kChunk);
  cCopyFile unchecked(nullptr, cCopyFile::Options{true, false});
  unchecked.BufferSize(kChunk);
  const bool costOfChecks = readMbps == writeMbps;
  std::vector<double> engineTimes, uncheckedTimes, platformTimes;
  for (int round = 0; round < rounds; ++round) {
    mFileSys::RemoveFile(engineTarget);
    mFileSys::RemoveFile(platformTarget);
    engineTimes.push_back(Seconds([&] { engine.CopyFile(source, engineTarget); }));
    platformTimes.push_back(Seconds([&] { cPlatformCopy::Copy(source, platformTarget, true); }));
    if (!costOfChecks) continue;
    mFileSys::RemoveFile(engineTarget);
    uncheckedTimes.push_back(Seconds([&] { unchecked.CopyFile(source, engineTarget); }));
  }
  mFileSys::RemoveFile(engineTarget);
  mFileSys::RemoveFile(platformTarget);
  const double slower = std::min(readMbps, writeMbps);
  const double engineRate = bytes / 1e6 / Median(engineTimes);
  const double platformRate = bytes / 1e6 / Median(platformTimes);
  std::printf("device %.0f/%.0f: engine %.1f MB/s, slower device %.0f MB/s, ratio %.2f\n", readMbps, writeMbps,
              engineRate, slower, engineRate / slower);
  std::printf("device %.0f/%.0f: %s (%s) %.1f MB/s, slower device %.0f MB/s, ratio %.2f\n", readMbps, writeMbps,
              cPlatformCopy::Tool(), cPlatformCopy::Name(), platformRate, slower, platformRate / slower);
  if (costOfChecks) {
    const double checked = Median(engineTimes), plain = Median(uncheckedTimes);
    std::printf("device %.0f/%.0f: read-back check %.1f %% of the run (%.2f s with it, %.2f s without; target at most 10 %%)\n",
                readMbps, writeMbps, 100.0 * (checked - plain) / checked, checked, plain);
  }
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc > 1 && std::string(argv[1]) == "--small") {
      cSmallFileSteps(argc > 2 ? mText::FromUtf8(argv[2]) : L".", argc > 4 ? std::max(1, std::atoi(argv[4])) : kSmallFiles,
                      kSmallFileBytes)
          .Print(argc > 3 ? std::max(1, std::atoi(argv[3])) : 3);
      return 0;
    }
    if (argc > 1 && std::string(argv[1]) == "--versions") {
      cVersionBench(argc > 2 ? mText::FromUtf8(argv[2]) : L".", argc > 4 ? std::max(1, std::atoi(argv[4])) : kSmallFiles,
                    kSmallFileBytes)
          .Print(argc > 3 ? std::max(1, std::atoi(argv[3])) : 3);
      return 0;
    }
    if (argc > 1 && std::string(argv[1]) == "--device") {
      if (argc < 6) throw std::invalid_argument("usage: engine_bench --device SOURCE FOLDER R W [rounds]");
      RunDevice(mText::FromUtf8(argv[2]), mText::FromUtf8(argv[3]), std::atof(argv[4]), std::atof(argv[5]),
                argc > 6 ? std::max(1, std::atoi(argv[6])) : 1);
      return 0;
    }
    const std::wstring folder = argc > 1 ? mText::FromUtf8(argv[1]) : L".";
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const std::wstring source = Join(folder, L"bench-source.bin");
    // Peak is the growth of this process's memory over what it held before any work.
    const std::uint64_t baseline = cMemoryMeter::PeakBytes();
    Generate(source);
    std::printf("%s: 1 GiB file, %d MiB chunks, median of %d alternating rounds, baseline %.1f MiB\n",
                cPlatformCopy::Name(), kChunk >> 20, rounds, static_cast<double>(baseline) / 1048576.0);
    RunMode(folder, false, rounds, baseline);
    RunMode(folder, true, rounds, baseline);
    mFileSys::RemoveFile(source);
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "engine_bench: %s\n", error.what());
    return 1;
  }
}
