#include <gtest/gtest.h>

#include "mFolderWalk.h"

namespace {

using Item = mFolderWalk::Item;

// The system's attribute bits and reparse tags, as FindFirstFileW reports them.
constexpr std::uint32_t kHidden = 0x2, kSystem = 0x4, kDirectory = 0x10, kArchive = 0x20, kReparse = 0x400;
constexpr std::uint32_t kOffline = 0x1000, kRecallOnOpen = 0x40000;

TEST(mFolderWalk, OnlyJunctionsAndSymbolicLinksAreLeftAloneOtherReparsePointsAreWhatTheyStandFor) {
  struct Row {
    const char* what;
    std::uint32_t attributes, tag;
    Item expected;
  };
  const Row rows[] = {
      {"a plain file", kArchive, 0, Item::File},
      {"a plain folder", kDirectory, 0, Item::Folder},
      {"a junction", kDirectory | kReparse, 0xA0000003, Item::Link},
      {"a symbolic link to a folder", kDirectory | kReparse, 0xA000000C, Item::Link},
      {"a symbolic link to a file", kArchive | kReparse, 0xA000000C, Item::Link},
      {"a cloud placeholder file", kArchive | kReparse | kRecallOnOpen, 0x9000001A, Item::File},
      {"a cloud placeholder folder", kDirectory | kReparse, 0x9000101A, Item::Folder},
      {"a deduplicated file", kArchive | kReparse, 0x80000013, Item::File},
      {"an archived (HSM) file", kArchive | kReparse | kOffline, 0xC0000004, Item::File},
      {"a tag without the reparse attribute", kArchive, 0xA000000C, Item::File},
      {"a reparse point listed without its tag (Wine's Unix links)", kDirectory | kReparse, 0, Item::Link},
  };
  for (const Row& row : rows) EXPECT_EQ(mFolderWalk::Classify(row.attributes, row.tag), row.expected) << row.what;
}

TEST(mFolderWalk, TheDrivesOwnFoldersAreKnownByNameAndBothAttributes) {
  EXPECT_TRUE(mFolderWalk::IsDriveSystemFolder(L"System Volume Information", kHidden | kSystem | kDirectory));
  EXPECT_TRUE(mFolderWalk::IsDriveSystemFolder(L"$Recycle.Bin", kHidden | kSystem | kDirectory));
  EXPECT_FALSE(mFolderWalk::IsDriveSystemFolder(L"$Recycle.Bin", kHidden | kDirectory));
  EXPECT_FALSE(mFolderWalk::IsDriveSystemFolder(L"System Volume", kHidden | kSystem | kDirectory));
}

}  // namespace
