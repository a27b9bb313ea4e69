#include <gtest/gtest.h>

#include <filesystem>

#include "cJob.h"
#include "cTestDir.h"
#include "mAsciiFold.h"
#include "mFakeVolumes.h"

namespace {

using Sources = std::vector<std::wstring>;

// Each change answers what became of the list; Save writes the job only when what it holds changed.
TEST(cJob, EachChangeIsSavedOnceWithTheEntriesVolumes) {
  cTestDir dir;
  const std::wstring path = dir.Path(L"job.json");
  const auto saved = [&] { return cJobStore(path).Load().job; };
  cBackupList list(AsciiFold);
  cJob job(list, cJobStore(path), FakeVolumes({{L"Q:\\", 7}}));
  EXPECT_TRUE(job.Remembers());

  EXPECT_EQ(job.Add({L"Q:\\a.txt", L"Q:\\b.txt", L"C:\\c.txt"}), 3u);
  job.Save(L"D:\\dest");
  ASSERT_EQ(saved().entries.size(), 3u);
  EXPECT_EQ(saved().destination, L"D:\\dest");
  EXPECT_EQ(saved().entries[1].volume, (mSourceVolume::Volume{7, L"Q:\\", L"label of Q:\\"}));
  EXPECT_EQ(saved().entries[2].volume, std::nullopt) << "a volume that does not answer is none";

  job.Remove(0);
  job.Save(L"D:\\dest");
  EXPECT_EQ(saved().entries.front().source, L"Q:\\b.txt");

  std::filesystem::remove(FsPath(path));
  job.Save(L"D:\\dest");
  EXPECT_FALSE(dir.Exists(L"job.json")) << "nothing changed, nothing written";

  cJob moved(list, cJobStore(path), FakeVolumes({{L"R:\\", 7}}));
  EXPECT_EQ(moved.Locate(), std::vector<std::size_t>{0}) << "the stick is at R: now";
  moved.Save(L"D:\\dest");
  EXPECT_EQ(saved().entries.front().source, L"R:\\b.txt");

  job.Clear();
  job.Save(L"D:\\dest");
  EXPECT_TRUE(saved().entries.empty());
}

TEST(cJob, AOneOffJobIsNotRemembered) {
  cTestDir dir;
  cBackupList list(AsciiFold);
  cJob job(list, std::nullopt, FakeVolumes({}));
  EXPECT_FALSE(job.Remembers());
  job.Add({L"C:\\a.txt"});
  job.Save(L"D:\\dest");
  EXPECT_EQ(list.Count(), 1u);
  EXPECT_TRUE(dir.Names().empty());
}

}  // namespace
