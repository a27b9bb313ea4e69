#include <gtest/gtest.h>

#include "mBackupTimes.h"

namespace {

constexpr std::uint64_t kMs = 10000;  // 100 ns ticks
constexpr std::uint64_t kSecond = 1000 * kMs;
constexpr std::uint64_t kBase = 133'000'000'000'000'000;  // a time in 2022

TEST(mBackupTimes, TimesCompareAtTheCoarserVolumesResolutionAndFatForgivesAnHour) {
  struct Row {
    const wchar_t* source;
    const wchar_t* backup;
    std::int64_t backupBytes;
    std::int64_t apart;  // backup time minus source time, in ticks
    bool unchanged;
  };
  const auto hour = static_cast<std::int64_t>(3600 * kSecond);
  const auto second = static_cast<std::int64_t>(kSecond), ms = static_cast<std::int64_t>(kMs);
  const Row rows[] = {
      {L"NTFS", L"NTFS", 100, 0, true},
      {L"NTFS", L"NTFS", 100, 1, false},
      {L"NTFS", L"NTFS", 101, 0, false},
      {L"NTFS", L"FAT32", 100, 2 * second - 1, true},
      {L"NTFS", L"FAT32", 100, -(2 * second - 1), true},
      {L"NTFS", L"FAT32", 100, 2 * second, false},
      {L"FAT", L"NTFS", 100, 1500 * ms, true},
      {L"NTFS", L"fat32", 100, hour, true},
      {L"NTFS", L"FAT32", 100, -hour - second, true},
      {L"NTFS", L"FAT32", 100, hour + 2 * second, false},
      {L"NTFS", L"FAT32", 101, hour, false},
      {L"NTFS", L"exFAT", 100, 9 * ms, true},
      {L"exFAT", L"NTFS", 100, 10 * ms, false},
      {L"NTFS", L"exFAT", 100, hour, false},
      {L"NTFS", L"NTFS", 100, hour, false},
      {L"", L"NTFS", 100, 1, false},
  };
  for (const Row& row : rows) {
    const mBackupTimes::Stamp source{100, kBase};
    const mBackupTimes::Stamp backup{row.backupBytes, static_cast<std::uint64_t>(static_cast<std::int64_t>(kBase) + row.apart)};
    EXPECT_EQ(mBackupTimes::Unchanged(source, backup, mBackupTimes::Between(row.source, row.backup)), row.unchanged)
        << "source " << testing::PrintToString(std::wstring(row.source)) << ", backup "
        << testing::PrintToString(std::wstring(row.backup)) << ", " << row.backupBytes << " bytes, apart " << row.apart;
  }
}

}  // namespace
