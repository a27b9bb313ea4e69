#include <gtest/gtest.h>

#include <cwctype>

#include "cBackupList.h"
#include "cGivenNames.h"
#include "mAsciiFold.h"
#include "mBackupNames.h"

namespace {

using Names = std::vector<std::wstring>;

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
  cBackupList list(AsciiFold);
  list.Add({L"E:\\_版本\\", L"F:\\_版本", L"G:\\a.txt"});
  EXPECT_EQ(list.DestinationName(0), L"_版本 (2)");
  EXPECT_EQ(list.DestinationName(1), L"_版本 (3)");
  EXPECT_EQ(list.DestinationName(2), L"a.txt");
}

}  // namespace
