#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "cBackupList.h"
#include "cJobKeeper.h"
#include "cTestDir.h"
#include "mAsciiFold.h"
#include "mSystemVolumes.h"

namespace {

class cJobStoreTest : public testing::Test {
 protected:
  std::wstring JobPath() const { return dir.Path(L"OmbrivoBeta") + L"\\job.json"; }
  std::filesystem::path JobFolder() const { return FsPath(dir.Path(L"OmbrivoBeta")); }
  cJobKeeper Keeper() const { return cJobKeeper(cJobStore(JobPath(), mSystemVolumes::Get())); }
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

// One stick, serial 7, whose volume answers at `root`; `mounted` whether the volumes list it.
mJobFile::Volumes StickAt(const std::wstring& root, bool mounted) {
  return {[root](const std::wstring& path) { return path.rfind(root, 0) == 0 ? root : std::wstring(); },
          [root](const std::wstring& at) -> std::optional<std::uint32_t> {
            if (at == root) return 7u;
            return std::nullopt;
          },
          [root, mounted](std::uint32_t serial) -> std::optional<std::wstring> {
            if (mounted && serial == 7) return root;
            return std::nullopt;
          }};
}

TEST_F(cJobStoreTest, AStickThatArrivesUnderAnotherLetterTakesItsEntriesThere) {
  {
    cBackupList list(AsciiFold);
    list.Add({L"E:\\a.txt", L"F:\\a.txt", L"E:\\photos\\"});
    cJobKeeper(cJobStore(JobPath(), StickAt(L"E:\\", true))).Changed(list, L"D:\\backup");
  }
  // Started while the stick is away: its entries keep their last letter.
  cBackupList list(AsciiFold);
  cJobKeeper keeper(cJobStore(JobPath(), StickAt(L"X:\\", false)));
  keeper.Restore(list);
  EXPECT_EQ(list.Source(0), L"E:\\a.txt");
  EXPECT_FALSE(keeper.Relocate(list, L"Y:\\")) << "not the stick";
  // The stick arrives at X:, which the volumes learn only from the arrival itself.
  EXPECT_TRUE(keeper.Relocate(list, L"X:\\"));
  EXPECT_EQ(list.Sources(), (std::vector<std::wstring>{L"X:\\a.txt", L"F:\\a.txt", L"X:\\photos\\"}));
  EXPECT_EQ(list.DestinationName(1), L"a (2).txt") << "names as they were given";
  EXPECT_FALSE(keeper.Relocate(list, L"X:\\")) << "already there";
}

}  // namespace
