#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "cBackupList.h"
#include "cJobKeeper.h"
#include "cTestDir.h"
#include "mAsciiFold.h"

namespace {

class cJobStoreTest : public testing::Test {
 protected:
  std::wstring JobPath() const { return dir.Path(L"OmbrivoBeta") + L"\\job.json"; }
  std::filesystem::path JobFolder() const { return FsPath(dir.Path(L"OmbrivoBeta")); }
  cJobKeeper Keeper() const { return cJobKeeper(cJobStore(JobPath())); }
  cTestDir dir;
};

TEST_F(cJobStoreTest, TheListAndDestinationComeBackWithoutMarksAndWithTheirNames) {
  // Joined with backslashes, as the program's paths are on every platform.
  const std::vector<std::wstring> sources = {dir.Root() + L"\\a.txt", dir.Root() + L"\\other\\a.txt", dir.Root() + L"\\other\\"};
  {
    cBackupList list(AsciiFold);
    list.Add(sources);
    list.StartRun();
    list.MarkBackedUp(0);
    cJobKeeper keeper = Keeper();
    keeper.Changed(list, dir.Path(L"dest"));
  }
  cBackupList list(AsciiFold);
  cJobKeeper keeper = Keeper();
  const cJobKeeper::Restored restored = keeper.Restore(list);
  EXPECT_EQ(restored.destination, dir.Path(L"dest"));
  EXPECT_TRUE(restored.note.empty());
  ASSERT_EQ(list.Count(), 3u);
  for (std::size_t i = 0; i < sources.size(); ++i) {
    EXPECT_EQ(list.Source(i), sources[i]);
    EXPECT_EQ(list.StateOf(i), cBackupList::State::Pending) << i;
  }
  EXPECT_EQ(list.DestinationName(1), L"a (2).txt");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(JobFolder()), {}), 1)
      << "nothing but the job file: no temporary file is left";
}

TEST_F(cJobStoreTest, AnUnreadableFileIsKeptAsideOnceAndTheListStartsEmpty) {
  std::filesystem::create_directory(JobFolder());
  const std::string garbage = "{\"\xFF";
  std::ofstream(JobFolder() / "job.json", std::ios::binary) << garbage;
  cBackupList list(AsciiFold);
  cJobKeeper keeper = Keeper();
  const cJobKeeper::Restored restored = keeper.Restore(list);
  EXPECT_EQ(list.Count(), 0u);
  EXPECT_NE(restored.note.find(L"job.json.bad"), std::wstring::npos) << "the user is told where it went";
  std::string kept;
  std::getline(std::ifstream(JobFolder() / "job.json.bad", std::ios::binary), kept);
  EXPECT_EQ(kept, garbage);
  EXPECT_FALSE(std::filesystem::exists(JobFolder() / "job.json"));

  cBackupList again(AsciiFold);
  EXPECT_TRUE(Keeper().Restore(again).note.empty()) << "said once: the next start finds no file";
}

TEST_F(cJobStoreTest, AOneOffJobIsNotWritten) {
  cBackupList list(AsciiFold);
  list.Add({dir.Path(L"x")});
  cJobKeeper keeper{std::nullopt};
  keeper.Changed(list, dir.Path(L"dest"));
  EXPECT_TRUE(keeper.Restore(list).destination.empty());
  EXPECT_TRUE(dir.Names().empty());
}

}  // namespace

namespace {

// The stick an entry was added from stays its volume through every save, whatever is at its
// letter when the job is written again.
TEST_F(cJobStoreTest, AnEntryKeepsItsVolumeWhenTheJobIsWrittenAgain) {
  const mSourceVolume::Volume stick{0xAAAA0001, L"Q:\\", L"A盘"};
  {
    cBackupList list(AsciiFold);
    list.Add({L"Q:\\笔记.txt", dir.Path(L"c.txt")}, {}, {stick, std::nullopt});
    Keeper().Changed(list, L"D:\\backup");
  }
  cBackupList list(AsciiFold);
  cJobKeeper keeper = Keeper();
  keeper.Restore(list);
  keeper.Changed(list, L"D:\\backup2");  // one edit of the destination
  cBackupList again(AsciiFold);
  EXPECT_EQ(Keeper().Restore(again).destination, L"D:\\backup2");
  ASSERT_EQ(again.Count(), 2u);
  EXPECT_EQ(again.VolumeOf(0), stick);
  EXPECT_EQ(again.VolumeOf(1), std::nullopt);
}

}  // namespace
