#include "cVersionBench.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

#include "cCopyFile.h"
#include "cCopyFlight.h"

namespace {

namespace fs = std::filesystem;

// The benchmark's own ASCII names, in the program's wide form.
std::wstring Wide(const fs::path& path) {
  const std::string narrow = path.string();
  return std::wstring(narrow.begin(), narrow.end());
}

fs::path Native(const std::wstring& path) { return fs::path(std::string(path.begin(), path.end())); }

void WriteFile(const fs::path& path, int bytes, char fill) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << std::string(static_cast<std::size_t>(bytes), fill);
}

std::wstring Name(int i) { return L"file" + std::to_wstring(i) + L".txt"; }

}  // namespace

cVersionBench::cVersionBench(std::wstring folder, int files, int fileBytes)
    : m_Folder(std::move(folder)), m_Files(files), m_FileBytes(fileBytes) {}

double cVersionBench::Round(int round, bool keep, std::size_t lanes) const {
  const fs::path root = Native(m_Folder) / "bench-versions";
  for (int i = 0; i < m_Files; ++i) WriteFile(root / "backup" / Native(Name(i)), m_FileBytes, 'o');
  cCopyFile engine;
  engine.BufferSize(0x400000);
  cCopyFlight flight(engine, lanes);
  const auto take = [&] {
    std::optional<cCopyFlight::Result> result;
    while (!(result = flight.TakeOldest(std::chrono::milliseconds(100)))) {
    }
    if (result->failure) std::rethrow_exception(result->failure);
  };
  const std::string runFolder = std::to_string(round) + "-" + std::to_string(lanes);
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < m_Files; ++i) {
    const std::wstring keepAs = keep ? Wide(root / "_versions" / runFolder / Native(Name(i))) : L"";
    const std::wstring from = Wide(root / "source" / Native(Name(i))), to = Wide(root / "backup" / Native(Name(i)));
    if (lanes == 1) {
      engine.CopyFile(from, to, keepAs);
      continue;
    }
    if (flight.InFlight() == lanes) take();
    flight.Launch(from, to, keepAs);
  }
  while (flight.InFlight() > 0) take();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void cVersionBench::Print(int rounds) const {
  const fs::path root = Native(m_Folder) / "bench-versions";
  fs::remove_all(root);
  fs::create_directories(root / "source");
  fs::create_directories(root / "backup");
  for (int i = 0; i < m_Files; ++i) WriteFile(root / "source" / Native(Name(i)), m_FileBytes, 'n');
  for (const std::size_t lanes : {std::size_t{1}, cCopyFlight::kLanes}) {
    std::vector<double> kept, deleted;
    for (int round = 0; round < rounds; ++round) {
      kept.push_back(Round(round, true, lanes));
      deleted.push_back(Round(round, false, lanes));
    }
    std::sort(kept.begin(), kept.end());
    std::sort(deleted.begin(), deleted.end());
    const double with = kept[kept.size() / 2], without = deleted[deleted.size() / 2];
    std::printf("second run over %d changed files of %d bytes, %zu in flight: with versions %.2f s, without %.2f s, "
                "%+.1f %% (goal at most +5 %%), median of %d rounds\n",
                m_Files, m_FileBytes, lanes, with, without, 100.0 * (with - without) / without, rounds);
    std::fflush(stdout);
  }
  fs::remove_all(root);
}
