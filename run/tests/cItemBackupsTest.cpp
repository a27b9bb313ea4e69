// The backups of a folder's items, found in a real destination folder.
#include <gtest/gtest.h>

#include "cItemBackups.h"
#include "cTestDir.h"
#include "mAsciiFold.h"

namespace {

TEST(ItemBackups, EachItemFindsTheBackupUnderTheNameItGivesTheExactOneFirst) {
  const struct {
    const wchar_t* source;  // an item of the source folder
    std::vector<const wchar_t*> backups;  // files in the destination, listed in this order
    std::optional<std::int64_t> expected;  // the length of the item's backup found
  } rows[] = {
      {L"a.txt", {L"a.txt"}, 0},
      {L"b.txt", {L"B.TXT"}, 1},
      {L"README.txt", {L"Readme.txt"}, 2},        // its own name folds alike: "Readme.txt" is numbered
      {L"Readme.txt", {L"Readme (2).txt"}, 3},
      {L"gone.txt", {L"orphan.txt", L"~omb2147483646-3.tmp"}, std::nullopt},
#ifndef _WIN32  // a case-sensitive folder holds both
      {L"c.txt", {L"C.txt", L"c.txt"}, 7},
#endif
  };
  cTestDir dir;
  cFolderItems items;
  std::int64_t length = 0;
  for (const auto& row : rows) {
    items.Add({row.source, 0, 0, 100, 0});
    for (const wchar_t* backup : row.backups) dir.Write(backup, Bytes(static_cast<std::size_t>(length++)));
  }
  items.Sort();
  const mBackupNames::Fold fold = AsciiFold;
  const cFolderNames names(items, fold);
  cItemBackups backups(dir.Root(), items, names, fold);
  for (int budget = 2; !backups.Read(budget);) budget = 2;

  for (const auto& row : rows) {
    SCOPED_TRACE(row.source);
    const auto found = backups.Of(*items.Find(row.source));
    EXPECT_EQ(found ? std::optional(found->bytes) : std::nullopt, row.expected);
  }
  EXPECT_FALSE(dir.Exists(L"~omb2147483646-3.tmp")) << "a temporary file of an ended copy goes";
}

}  // namespace
