#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "cBackupList.h"
#include "cFileError.h"
#include "cJobKeeper.h"
#include "cTestDir.h"
#include "mAsciiFold.h"
#include "mText.h"

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
  EXPECT_NE(restored.note.find(JobPath() + L".1.bad"), std::wstring::npos) << "the user is told where it went";
  std::string kept;
  std::getline(std::ifstream(JobFolder() / "job.json.1.bad", std::ios::binary), kept);
  EXPECT_EQ(kept, garbage);
  EXPECT_FALSE(std::filesystem::exists(JobFolder() / "job.json"));

  cBackupList again(AsciiFold);
  EXPECT_TRUE(Keeper().Restore(again).note.empty()) << "said once: the next start finds no file";
}

TEST_F(cJobStoreTest, EachFileSetAsideKeepsItsNumberAndAWindowSaysItOnce) {
  std::filesystem::create_directory(JobFolder());
  const struct {
    const char* name;
    std::string written;  // into job.json before the start; empty: nothing
    bool removeSetAside;  // the user deletes the files set aside before the start
    bool unattended;
    std::vector<int> said;
  } rows[] = {
      {"an unattended start sets the file aside", "{1", false, true, {1}},
      {"and the next one another, keeping the first", "{2", false, true, {1, 2}},
      {"a window says both", "", false, false, {1, 2}},
      {"once", "", false, false, {}},
      {"numbers said are not given again", "{3", true, false, {3}},
  };
  for (const auto& row : rows) {
    if (row.removeSetAside)
      for (const char* name : {"job.json.1.bad", "job.json.2.bad"}) std::filesystem::remove(JobFolder() / name);
    if (!row.written.empty()) std::ofstream(JobFolder() / "job.json", std::ios::binary) << row.written;
    cBackupList list(AsciiFold);
    const std::wstring note = Keeper().Restore(list, row.unattended).note;
    std::size_t named = 0;
    for (const int n : row.said) {
      named += note.find(JobPath() + L"." + std::to_wstring(n) + L".bad") != std::wstring::npos;
      std::string kept;
      std::getline(std::ifstream(JobFolder() / ("job.json." + std::to_string(n) + ".bad"), std::ios::binary), kept);
      EXPECT_EQ(kept, "{" + std::to_string(n)) << row.name << ": never written over";
    }
    EXPECT_EQ(named, row.said.size()) << row.name << "\n" << mText::ToUtf8(note);
    EXPECT_EQ(note.empty(), row.said.empty()) << row.name;
  }
}

TEST_F(cJobStoreTest, AFileThatCannotBeReadIsAnErrorAndIsNeitherSetAsideNorWrittenOver) {
  std::filesystem::create_directories(JobFolder() / "job.json");  // opens nowhere, as a locked file
  cBackupList list(AsciiFold);
  list.Add({dir.Path(L"a.txt")});
  cJobKeeper keeper = Keeper();
  EXPECT_THROW(keeper.Restore(list), cFileError);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(JobFolder()), {}), 1) << "nothing set aside";
  EXPECT_NO_THROW(keeper.Changed(list, dir.Path(L"dest"))) << "not written: writing over a folder would throw";
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
