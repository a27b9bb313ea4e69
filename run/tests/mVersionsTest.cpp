// Where a replaced backup is kept, which kept versions go when a run starts, and when a run looks
// like the work of a damaged source.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>

#include "mAsciiFold.h"
#include "mRunRules.h"
#include "mVersions.h"

namespace {

using mVersions::LocalTime;
using Paths = std::vector<std::wstring>;

TEST(mVersions, AReplacedBackupIsKeptBelowTheVersionsFolderUnderTheRunsStart) {
  const LocalTime start{2026, 12, 8, 17, 45, 0};
  struct Row {
    const wchar_t* destination;
    const wchar_t* backup;
    const wchar_t* kept;
  };
  const Row rows[] = {
      {L"D:\\Backup", L"D:\\Backup\\a.txt", L"D:\\Backup\\_版本\\2026-12-08 174500\\a.txt"},
      {L"D:\\Backup\\", L"D:\\Backup\\photos\\2026\\b.jpg", L"D:\\Backup\\_版本\\2026-12-08 174500\\photos\\2026\\b.jpg"},
      {L"E:\\", L"E:\\c.doc", L"E:\\_版本\\2026-12-08 174500\\c.doc"},
  };
  for (const Row& row : rows) EXPECT_EQ(mVersions::PathOf(row.destination, row.backup, mVersions::RunFolderName(start)), row.kept);
  EXPECT_EQ(mVersions::RunFolderName({2027, 1, 2, 3, 4, 5}), L"2027-01-02 030405");
}

TEST(mVersions, OnlyNamesOfARunsStartReadAsOne) {
  const auto start = mVersions::RunStartOf(L"2026-02-28 235959");
  ASSERT_TRUE(start);
  EXPECT_EQ(mVersions::RunFolderName(*start), L"2026-02-28 235959");
  EXPECT_EQ(mVersions::RunFolderName(*start, 2), L"2026-02-28 235959 (2)");
  EXPECT_TRUE(mVersions::RunStartOf(L"2026-02-28 235959 (12)")) << "a second run in the same second";
  for (const wchar_t* name : {L"2026-02-28 23595", L"2026-13-01 000000", L"2026-02-28 240000", L"2026-02-28_235959",
                              L"mine", L"2026-0a-28 235959", L"", L"2026-02-28 235959 (1)", L"2026-02-28 235959 (02)",
                              L"2026-02-28 235959 (x)", L"2026-02-28 235959 2"})
    EXPECT_FALSE(mVersions::RunStartOf(name)) << testing::PrintToString(std::wstring(name));
  EXPECT_EQ(mVersions::Seconds({2026, 3, 1, 0, 0, 0}) - mVersions::Seconds({2026, 2, 28, 0, 0, 0}), 86400);
  EXPECT_EQ(mVersions::Seconds({1970, 1, 1, 0, 0, 1}), 1);
}

// Run folders older than 30 days go, but for each file's newest version; a file kept keeps its
// folders, and a folder not named as a run's start is never touched.
TEST(mVersions, PruningRemovesOldRunsButTheNewestVersionOfEachFile) {
  const LocalTime now{2026, 12, 8, 12, 0, 0};
  const mVersions::RunFolder old{L"2026-10-01 080000", {L"a.txt", L"sub\\b.txt", L"sub\\deep\\c.txt", L"d.txt"}, {L"sub", L"sub\\deep"}};
  const mVersions::RunFolder older{L"2026-09-01 080000", {L"A.TXT", L"e.txt"}, {}};
  const mVersions::RunFolder recent{L"2026-12-01 080000", {L"a.txt", L"sub\\deep\\c.txt"}, {L"sub", L"sub\\deep"}};
  const mVersions::RunFolder borderline{L"2026-11-08 120000", {L"f.txt"}, {}};  // exactly 30 days
  const mVersions::RunFolder mine{L"mine", {L"a.txt"}, {}};
  struct Row {
    const char* what;
    std::vector<mVersions::RunFolder> runs;
    Paths gone;
  };
  const Row rows[] = {
      {"nothing old", {recent, borderline, mine}, {}},
      {"an old run whose every file has a newer version goes whole",
       {mVersions::RunFolder{L"2026-10-01 080000", {L"a.txt", L"sub\\deep\\c.txt"}, {L"sub", L"sub\\deep"}}, recent},
       {L"2026-10-01 080000\\a.txt", L"2026-10-01 080000\\sub\\deep\\c.txt", L"2026-10-01 080000\\sub\\deep",
        L"2026-10-01 080000\\sub", L"2026-10-01 080000"}},
      {"an old run keeps the newest versions and their folders",
       {old, recent},
       {L"2026-10-01 080000\\a.txt", L"2026-10-01 080000\\sub\\deep\\c.txt", L"2026-10-01 080000\\sub\\deep"}},
      {"of two old runs the newer keeps a file both hold, case aside",
       {older, old},
       {L"2026-09-01 080000\\A.TXT"}},
  };
  const auto oneSource = [](const std::wstring&, const std::wstring&) -> std::optional<std::wstring> { return L"the one source"; };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(mVersions::Pruned(row.runs, now, AsciiFold, oneSource), row.gone);
  }
}

// No source loses its last copy: an old version goes only for a newer one of the same source.
TEST(mVersions, PruningKeepsEveryVersionThatIsItsSourcesLastCopyOrOfNoKnownSource) {
  const LocalTime now{2026, 12, 8, 12, 0, 0};
  const std::vector<mVersions::RunFolder> runs = {{L"2026-10-01 080000", {L"报告.txt", L"b.txt", L"c.txt"}, {}},
                                                  {L"2026-12-01 080000", {L"报告.txt", L"b.txt", L"c.txt"}, {}}};
  // The old run's 报告.txt was 工作's, the recent one 私人's; b.txt's old one no run made.
  const std::map<std::pair<std::wstring, std::wstring>, std::wstring> sources = {
      {{L"2026-10-01 080000", L"报告.txt"}, L"工作"}, {{L"2026-12-01 080000", L"报告.txt"}, L"私人"},
      {{L"2026-12-01 080000", L"b.txt"}, L"b"},
      {{L"2026-10-01 080000", L"c.txt"}, L"c"}, {{L"2026-12-01 080000", L"c.txt"}, L"c"}};
  const auto sourceOf = [&](const std::wstring& run, const std::wstring& file) -> std::optional<std::wstring> {
    const auto found = sources.find({run, file});
    if (found == sources.end()) return std::nullopt;
    return found->second;
  };
  EXPECT_EQ(mVersions::Pruned(runs, now, AsciiFold, sourceOf), Paths{L"2026-10-01 080000\\c.txt"})
      << "only c.txt has a newer version of the same source";
}

TEST(mRunRules, ARunLooksDamagedWhenItReplacesManyBackupsAndMostOfOneEntrys) {
  using Tally = mRunRules::EntryTally;
  struct Row {
    const char* what;
    std::vector<Tally> entries;
    bool damaged;
  };
  const Row rows[] = {
      {"20 of 20", {{20, 20}}, true},
      {"19 of 19", {{19, 19}}, false},
      {"20 of 40: exactly half", {{40, 20}}, false},
      {"21 of 40", {{40, 21}}, true},
      {"20 spread over entries, none over half", {{30, 10}, {30, 10}}, false},
      {"20 in all, one entry over half", {{100, 18}, {3, 2}}, true},
      {"a first run: nothing to replace", {{0, 0}}, false},
  };
  for (const Row& row : rows) EXPECT_EQ(mRunRules::LooksDamaged(row.entries), row.damaged) << row.what;
}

TEST(mRunRules, RoomLimitsAndSizes) {
  constexpr std::int64_t kGiB = std::int64_t{1} << 30;
  EXPECT_TRUE(mRunRules::TooLargeFor(L"FAT32", 4 * kGiB));
  EXPECT_TRUE(mRunRules::TooLargeFor(L"fat", 5 * kGiB));
  EXPECT_FALSE(mRunRules::TooLargeFor(L"FAT32", 4 * kGiB - 1));
  EXPECT_FALSE(mRunRules::TooLargeFor(L"exFAT", 5 * kGiB));
  EXPECT_FALSE(mRunRules::TooLargeFor(L"NTFS", 5 * kGiB));
  EXPECT_FALSE(mRunRules::TooLargeFor(L"", 5 * kGiB));

  EXPECT_EQ(mRunRules::SpaceFor(0, 4096), 0);
  EXPECT_EQ(mRunRules::SpaceFor(1, 4096), 4096);
  EXPECT_EQ(mRunRules::SpaceFor(4097, 4096), 8192);
  EXPECT_EQ(mRunRules::SpaceFor(4097, 1), 4097);

  EXPECT_EQ(mRunRules::SizeText(512), L"512 字节");
  EXPECT_EQ(mRunRules::SizeText(1536), L"1.5 KB");
  EXPECT_EQ(mRunRules::SizeText(12 << 20), L"12.0 MB");
  EXPECT_EQ(mRunRules::SizeText(4 * kGiB), L"4.00 GB");
}

}  // namespace
