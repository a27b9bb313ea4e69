#include <gtest/gtest.h>

#include <cwctype>

#include "cBackupList.h"
#include "cGivenNames.h"
#include "mAsciiFold.h"
#include "mBackupNames.h"

namespace {

using Names = std::vector<std::wstring>;

TEST(mBackupNames, DistinctNamesStayAsTheyAre) {
  EXPECT_EQ(mBackupNames::DestinationNames({L"E:\\a.jpg", L"E:\\sub\\b.jpg", L"F:\\c"}, AsciiFold),
            (Names{L"a.jpg", L"b.jpg", L"c"}));
}

TEST(mBackupNames, LaterEntriesWithTheSameNameAreNumberedByListPosition) {
  const Names sources = {L"E:\\one\\report.doc", L"E:\\two\\report.doc", L"E:\\x.txt",
                         L"F:\\REPORT.DOC", L"G:\\noext", L"H:\\noext", L"I:\\.profile", L"J:\\.profile"};
  const Names expected = {L"report.doc", L"report (2).doc", L"x.txt", L"REPORT (3).DOC",
                          L"noext", L"noext (2)", L".profile", L".profile (2)"};
  EXPECT_EQ(mBackupNames::DestinationNames(sources, AsciiFold), expected);
  EXPECT_EQ(mBackupNames::DestinationNames(sources, AsciiFold), expected) << "stable across runs";
}

TEST(mBackupNames, NumberedNamesNeverTakeANameAnotherEntryHas) {
  // "a (2).txt" is a real file of the list; the second "a.txt" must not land on it.
  EXPECT_EQ(mBackupNames::DestinationNames({L"C:\\a (2).txt", L"D:\\a.txt", L"E:\\a.txt"}, AsciiFold),
            (Names{L"a (2).txt", L"a.txt", L"a (3).txt"}));
}

// Folders (a source ending in a backslash) and drive roots are named as files are.
TEST(mBackupNames, OneSourceIsOneBackupAndNumbersSkipEveryOwnName) {
  const auto label = [](const std::wstring& root) { return root == L"G:\\" ? std::wstring(L"U盘") : std::wstring(); };
  struct Row {
    const char* what;
    Names sources, expected;
  };
  const Row rows[] = {
      {"picked twice, and a numbered name that is another entry's own",
       {L"A:\\dup.txt", L"A:\\dup.txt", L"B:\\dup.txt", L"C:\\dup (2).txt"},
       {L"dup.txt", L"dup.txt", L"dup (3).txt", L"dup (2).txt"}},
      {"the same source in another case",
       {L"E:\\Dir\\a.txt", L"e:\\dir\\A.TXT", L"F:\\a.txt"}, {L"a.txt", L"a.txt", L"a (2).txt"}},
      {"later entries' own names are skipped",
       {L"A:\\x.txt", L"B:\\x.txt", L"C:\\x (2).txt", L"D:\\X (3).TXT", L"E:\\x.txt"},
       {L"x.txt", L"x (4).txt", L"x (2).txt", L"X (3).TXT", L"x (5).txt"}},
      {"a folder by its own name, numbered at the end even with a dot",
       {L"E:\\photos\\", L"F:\\photos\\", L"E:\\v1.2\\", L"F:\\v1.2\\"},
       {L"photos", L"photos (2)", L"v1.2", L"v1.2 (2)"}},
      {"drive roots by their labels, else their letters", {L"G:\\", L"H:\\", L"E:\\U盘\\"}, {L"U盘", L"H", L"U盘 (2)"}},
      {"a file and a folder of one name", {L"E:\\a\\report", L"F:\\report\\"}, {L"report", L"report (2)"}},
  };
  for (const Row& row : rows)
    EXPECT_EQ(mBackupNames::DestinationNames(row.sources, AsciiFold, label), row.expected) << row.what;
}

// Inside one folder of a folder entry (names listed in order): names alike but for case, from a
// case-sensitive folder, each get a backup of their own.
TEST(cGivenNames, NamesAlikeButForCaseAreNumberedAroundEveryOwnName) {
  cGivenNames given(AsciiFold);
  const Names own = {L"README.txt", L"Readme (2).txt", L"Readme.txt", L"docs", L"DOCS", L"readme.TXT"};
  for (const auto& name : own) given.Reserve(name);
  Names names;
  for (const auto& name : own) names.push_back(given.Give(name, name.find(L'.') == std::wstring::npos));
  EXPECT_EQ(names, (Names{L"README.txt", L"Readme (2).txt", L"Readme (3).txt", L"docs", L"DOCS (2)", L"readme (4).TXT"}));
}

TEST(mBackupNames, MarkIsRecognisedAndStripped) {
  const std::wstring marked = std::wstring(1, mBackupNames::kDoneMark) + L"E:\\a.jpg";
  EXPECT_TRUE(mBackupNames::IsMarked(marked));
  EXPECT_FALSE(mBackupNames::IsMarked(L"E:\\a.jpg"));
  EXPECT_FALSE(mBackupNames::IsMarked(L""));
  EXPECT_EQ(mBackupNames::SourceOf(marked), L"E:\\a.jpg");
  EXPECT_EQ(mBackupNames::SourceOf(L"E:\\a.jpg"), L"E:\\a.jpg");
}

}  // namespace

namespace {

TEST(mBackupNames, NoSourceIsNamedAsTheVersionsFolder) {
  EXPECT_EQ(mBackupNames::DestinationNames({L"E:\\_版本\\", L"F:\\_版本", L"G:\\a.txt"}, AsciiFold),
            (std::vector<std::wstring>{L"_版本 (2)", L"_版本 (3)", L"a.txt"}));
  cBackupList list(AsciiFold);
  list.Add({L"E:\\_版本\\"});
  EXPECT_EQ(list.DestinationName(0), L"_版本 (2)");
}

}  // namespace
