#include <gtest/gtest.h>

#include <future>
#include <map>

#include "mAsciiFold.h"
#include "mEntryVolumes.h"
#include "mFakeVolumes.h"

namespace {

using Volume = mSourceVolume::Volume;

constexpr std::uint32_t kA = 0xAAAA0001, kB = 0xBBBB0002;

TEST(mEntryVolumes, BeforeARunEachEntryIsFoundOnItsOwnVolumeOrLeftOut) {
  std::promise<void> release;
  const struct {
    const char* name;
    std::map<std::wstring, std::uint32_t> mounted;
    std::wstring source;     // as listed after the look
    std::wstring unavailable;
  } rows[] = {
      {"at its own letter", {{L"Q:\\", kA}}, L"Q:\\笔记.txt", L""},
      {"back under another letter", {{L"R:\\", kA}}, L"R:\\笔记.txt", L""},
      {"another stick at its letter", {{L"Q:\\", kB}}, L"Q:\\笔记.txt", L"U 盘「A盘」未插入"},
      {"a clone elsewhere, itself at its letter", {{L"Q:\\", kA}, {L"S:\\", kA}}, L"Q:\\笔记.txt", L""},
      {"two clones, neither at its letter", {{L"R:\\", kA}, {L"S:\\", kA}}, L"Q:\\笔记.txt",
       L"有多个磁盘（R:\\、S:\\）与 U 盘「A盘」的序列号相同，无法确定要备份哪一个"},
      {"its letter does not answer", {{L"Q:\\", 0}}, L"Q:\\笔记.txt", L"U 盘「A盘」未插入"},
  };
  const std::shared_future<void> released = release.get_future().share();
  for (const auto& row : rows) {
    cBackupList list(AsciiFold);
    list.Add({L"Q:\\笔记.txt", L"C:\\local.txt"}, {}, {Volume{kA, L"Q:\\", L"A盘"}, std::nullopt});
    cVolumeFinder finder(FakeVolumes(row.mounted, released));
    mEntryVolumes::Locate(list, finder);
    EXPECT_EQ(list.Source(0), row.source) << row.name;
    EXPECT_EQ(list.UnavailableReason(0), row.unavailable) << row.name;
    EXPECT_TRUE(list.UnavailableReason(1).empty()) << row.name << ": an entry without a volume is always looked for at its path";
    EXPECT_EQ(list.StartRun().size(), row.unavailable.empty() ? 2u : 1u) << row.name;
  }
  release.set_value();
}

TEST(mEntryVolumes, AnArrivalConcernsOnlyTheEntriesOfTheArrivedVolume) {
  const struct {
    const char* name;
    std::map<std::wstring, std::uint32_t> mounted;
    std::size_t entries;
    std::wstring firstSource;
  } rows[] = {
      {"its stick", {{L"Q:\\", kA}}, 2, L"Q:\\笔记.txt"},
      {"another stick at its letter", {{L"Q:\\", kB}}, 0, L"Q:\\笔记.txt"},
      {"its stick under another letter", {{L"Q:\\", kB}, {L"R:\\", kA}}, 2, L"R:\\笔记.txt"},
  };
  for (const auto& row : rows) {
    cBackupList list(AsciiFold);
    list.Add({L"Q:\\笔记.txt", L"Q:\\照片\\", L"C:\\local.txt"}, {},
             {Volume{kA, L"Q:\\", L"A盘"}, Volume{kA, L"Q:\\", L"A盘"}, std::nullopt});
    cVolumeFinder finder(FakeVolumes(row.mounted));
    const std::wstring arrived = row.mounted.count(L"R:\\") ? L"R:\\" : L"Q:\\";
    const mEntryVolumes::Arrival arrival = mEntryVolumes::Arrived(list, finder, arrived);
    EXPECT_EQ(arrival.entries, row.entries) << row.name;
    EXPECT_EQ(list.Source(0), row.firstSource) << row.name;
  }
}

}  // namespace
