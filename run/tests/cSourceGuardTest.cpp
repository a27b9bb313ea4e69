#include <gtest/gtest.h>

#include "cSourceGuard.h"
#include "mAsciiFold.h"

namespace {

using Refusal = cSourceGuard::Refusal;

TEST(cSourceGuard, NoWriteLandsOnAListedSourceOutsideAFolderThatHoldsTheDestination) {
  struct Row {
    const char* what;
    std::vector<std::wstring> sources;
    std::wstring destination, source, path;
    Refusal expected;
  };
  const Row rows[] = {
      {"another entry's source", {L"D:\\x\\report.doc", L"D:\\report.doc"}, L"D:\\", L"D:\\x\\report.doc",
       L"D:\\report.doc", Refusal::AnotherSource},
      {"the numbered name beside it", {L"D:\\x\\report.doc", L"D:\\report.doc"}, L"D:\\", L"D:\\report.doc",
       L"D:\\report (2).doc", Refusal::None},
      {"a file backed up into its own folder", {L"C:\\a\\f.txt"}, L"c:\\A", L"C:\\a\\f.txt", L"C:\\a\\F.TXT",
       Refusal::Itself},
      {"a folder backed up into the folder that holds it", {L"D:\\photos\\"}, L"D:\\", L"D:\\photos\\", L"D:\\photos",
       Refusal::Itself},
      {"into a listed folder inside the destination", {L"E:\\photos\\", L"D:\\photos\\"}, L"D:\\", L"E:\\photos\\",
       L"D:\\photos\\a.jpg", Refusal::AnotherSource},
      {"a folder whose name only starts like a listed one", {L"E:\\photos\\", L"D:\\photo\\"}, L"D:\\",
       L"E:\\photos\\", L"D:\\photos\\a.jpg", Refusal::None},
      {"into the destination inside a listed folder", {L"C:\\data\\", L"E:\\x.txt"}, L"C:\\data\\backup",
       L"E:\\x.txt", L"C:\\data\\backup\\x.txt", Refusal::None},
      {"a listed folder that is the destination", {L"C:\\data\\", L"E:\\x.txt"}, L"C:\\data", L"E:\\x.txt",
       L"C:\\data\\x.txt", Refusal::None},
      {"a listed file inside the destination", {L"C:\\data\\", L"C:\\data\\backup\\x.txt"}, L"C:\\data\\backup\\",
       L"C:\\data\\", L"C:\\data\\backup\\data\\backup\\x.txt", Refusal::None},
      {"nothing listed there", {L"E:\\a.txt"}, L"D:\\backup", L"E:\\a.txt", L"D:\\backup\\a.txt", Refusal::None},
  };
  for (const Row& row : rows) {
    const cSourceGuard guard(row.sources, row.destination, AsciiFold);
    EXPECT_EQ(guard.Check(row.source, row.path), row.expected) << row.what;
  }
}

TEST(cSourceGuard, AWalkKnowsTheDestinationInAnyCaseAndWithOrWithoutItsBackslash) {
  const cSourceGuard guard({L"C:\\data\\"}, L"C:\\Data\\Backup\\", AsciiFold);
  EXPECT_TRUE(guard.IsDestination(L"c:\\data\\backup"));
  EXPECT_TRUE(guard.IsDestination(L"C:\\DATA\\BACKUP\\"));
  EXPECT_FALSE(guard.IsDestination(L"C:\\data\\backup2"));
  EXPECT_FALSE(guard.IsDestination(L"C:\\data\\"));
  const cSourceGuard root({L"E:\\"}, L"E:", AsciiFold);
  EXPECT_TRUE(root.IsDestination(L"E:\\")) << "a drive root given as its letter";
}

}  // namespace
