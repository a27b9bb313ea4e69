// One writer per folder, on the real file system: a second holder finds the folder busy until
// the first lets go, and a folder that cannot hold the lock has nothing to guard.
#include <gtest/gtest.h>

#include <optional>

#include "cFolderLock.h"
#include "cTestDir.h"

namespace {

using Attempt = cFolderLock::Attempt;

TEST(cFolderLock, ASecondHolderWaitsUntilTheFirstLetsGo) {
  cTestDir dir;
  Attempt attempt = Attempt::NoFolder;
  std::optional<cFolderLock> first = cFolderLock::TryTake(dir.Root(), attempt);
  ASSERT_EQ(attempt, Attempt::Taken);
  EXPECT_FALSE(cFolderLock::TryTake(dir.Root(), attempt));
  EXPECT_EQ(attempt, Attempt::Busy);
  std::optional<cFolderLock> moved = std::move(first);  // still held after a move
  EXPECT_FALSE(cFolderLock::TryTake(dir.Root(), attempt));
  EXPECT_EQ(attempt, Attempt::Busy);
  moved.reset();
  EXPECT_TRUE(dir.Names().empty()) << "the lock file goes with its holder";
  EXPECT_TRUE(cFolderLock::TryTake(dir.Root(), attempt));
  EXPECT_EQ(attempt, Attempt::Taken);
  EXPECT_FALSE(cFolderLock::TryTake(dir.Path(L"missing"), attempt));
  EXPECT_EQ(attempt, Attempt::NoFolder);
}

}  // namespace
