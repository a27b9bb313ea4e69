#include <gtest/gtest.h>

#include "cBackupList.h"
#include "mAsciiFold.h"

namespace {

using Entries = std::vector<std::size_t>;
using State = cBackupList::State;

const std::wstring kMark(1, mBackupNames::kDoneMark);

TEST(cBackupList, ARunCopiesEachBackupOnceAndEveryEntryOfItShowsTheOutcome) {
  cBackupList list(AsciiFold);
  EXPECT_EQ(list.Add({L"A:\\dup.txt", L"B:\\dup.txt", L"a:\\DUP.txt", L"C:\\other.bin"}), 4u);
  EXPECT_EQ(list.DestinationName(2), L"dup.txt") << "the same file as entry 0";
  EXPECT_EQ(list.DestinationName(1), L"dup (2).txt");

  EXPECT_EQ(list.StartRun(), (Entries{0, 1, 3})) << "entry 2 is entry 0's backup";
  EXPECT_EQ(list.MarkBackedUp(0), (Entries{0, 2}));
  EXPECT_EQ(list.MarkFailed(1, L"拒绝访问。"), (Entries{1}));
  EXPECT_EQ(list.MarkFailed(3, L"磁盘已满。"), (Entries{3}));
  EXPECT_EQ(list.Text(0), kMark + L"A:\\dup.txt");
  EXPECT_EQ(list.Text(2), kMark + L"a:\\DUP.txt") << "each entry shows its own path";
  EXPECT_EQ(list.Text(1), L"B:\\dup.txt");
  ASSERT_EQ(list.Failures().size(), 2u);
  EXPECT_EQ(list.Failures()[1].source, L"C:\\other.bin");
  EXPECT_EQ(list.Failures()[1].reason, L"磁盘已满。");

  // The next run takes what is not backed up; the earlier failures are forgotten until it fails again.
  EXPECT_EQ(list.StartRun(), (Entries{1, 3}));
  EXPECT_EQ(list.StateOf(3), State::Pending);
  EXPECT_TRUE(list.Failures().empty());
  list.MarkBackedUp(1);
  list.MarkBackedUp(3);
  EXPECT_EQ(list.StartRun(), Entries{});
}

// Entries added together: each keeps its own name unless an earlier, different source has it; a
// later one takes the first number that is no entry's own name. Folders and drive roots alike.
TEST(cBackupList, EntriesAddedTogetherAreNamedAroundEveryOwnName) {
  using Names = std::vector<std::wstring>;
  const auto label = [](const std::wstring& root) { return root == L"G:\\" ? std::wstring(L"U盘") : std::wstring(); };
  struct Row {
    const char* what;
    Names sources, expected;
  };
  const Row rows[] = {
      {"distinct names", {L"E:\\a.jpg", L"E:\\sub\\b.jpg", L"F:\\c"}, {L"a.jpg", L"b.jpg", L"c"}},
      {"numbered by list position, case folded, names without or before an extension",
       {L"E:\\one\\report.doc", L"E:\\two\\report.doc", L"F:\\REPORT.DOC", L"G:\\noext", L"H:\\noext", L"I:\\.profile",
        L"J:\\.profile"},
       {L"report.doc", L"report (2).doc", L"REPORT (3).DOC", L"noext", L"noext (2)", L".profile", L".profile (2)"}},
      {"picked twice, and a numbered name that is another entry's own",
       {L"A:\\dup.txt", L"A:\\dup.txt", L"B:\\dup.txt", L"C:\\dup (2).txt"},
       {L"dup.txt", L"dup.txt", L"dup (3).txt", L"dup (2).txt"}},
      {"later entries' own names are skipped",
       {L"A:\\x.txt", L"B:\\x.txt", L"C:\\x (2).txt", L"D:\\X (3).TXT", L"E:\\x.txt"},
       {L"x.txt", L"x (4).txt", L"x (2).txt", L"X (3).TXT", L"x (5).txt"}},
      {"a folder by its own name, numbered at the end even with a dot",
       {L"E:\\photos\\", L"F:\\photos\\", L"E:\\v1.2\\", L"F:\\v1.2\\"}, {L"photos", L"photos (2)", L"v1.2", L"v1.2 (2)"}},
      {"drive roots by their labels, else their letters", {L"G:\\", L"H:\\", L"E:\\U盘\\"}, {L"U盘", L"H", L"U盘 (2)"}},
      {"a file and a folder of one name", {L"E:\\a\\report", L"F:\\report\\"}, {L"report", L"report (2)"}},
  };
  for (const Row& row : rows) {
    cBackupList list(AsciiFold, label);
    list.Add(row.sources);
    Names names;
    for (std::size_t i = 0; i < row.sources.size(); ++i) names.push_back(list.DestinationName(i));
    EXPECT_EQ(names, row.expected) << row.what;
  }
}

TEST(cBackupList, AFolderEntryFailsWithEachFileInsideThatFailed) {
  cBackupList list(AsciiFold);
  list.Add({L"E:\\photos\\", L"E:\\a.txt"});
  EXPECT_TRUE(list.IsFolder(0));
  EXPECT_FALSE(list.IsFolder(1));
  list.StartRun();
  list.MarkFileFailed(0, L"E:\\photos\\x.jpg", L"拒绝访问。");
  list.MarkFileFailed(0, L"E:\\photos\\sub\\y.jpg", L"磁盘已满。");
  list.MarkFailed(1, L"找不到文件。");
  EXPECT_EQ(list.StateOf(0), State::Failed);
  EXPECT_EQ(list.Text(0), L"E:\\photos\\");
  const auto failures = list.Failures();
  ASSERT_EQ(failures.size(), 3u);
  EXPECT_EQ(failures[0].source, L"E:\\photos\\x.jpg");
  EXPECT_EQ(failures[1].reason, L"磁盘已满。");
  EXPECT_EQ(failures[2].source, L"E:\\a.txt");
  EXPECT_EQ(list.StartRun(), (Entries{0, 1}));
  EXPECT_TRUE(list.Failures().empty()) << "a new run forgets the files that failed";
}

TEST(cBackupList, TakesEntriesUpToTheListBoxLimitAndNamesGivenOnceNeverChange) {
  cBackupList list(AsciiFold);
  EXPECT_EQ(list.Add({L"A:\\dup.txt", L"B:\\dup.txt"}), 2u);
  EXPECT_EQ(list.DestinationName(1), L"dup (2).txt");
  // B's backup may be in the destination already: a later pick whose own name it is numbers around it.
  list.Add({L"C:\\dup (2).txt", L"D:\\DUP.TXT"});
  EXPECT_EQ(list.DestinationName(0), L"dup.txt");
  EXPECT_EQ(list.DestinationName(1), L"dup (2).txt") << "a name once given stays";
  EXPECT_EQ(list.DestinationName(2), L"dup (2) (2).txt");
  EXPECT_EQ(list.DestinationName(3), L"DUP (3).TXT");

  std::vector<std::wstring> many(cBackupList::kMaxEntries, L"D:\\same");
  EXPECT_EQ(list.Add(many), cBackupList::kMaxEntries - 4);
  EXPECT_EQ(list.Count(), cBackupList::kMaxEntries);
  EXPECT_EQ(list.Add({L"E:\\late"}), 0u);
  EXPECT_THROW(list.Text(cBackupList::kMaxEntries), std::out_of_range);
}

}  // namespace

namespace {

TEST(cBackupList, RemovingEntriesKeepsEntriesBackupsAndNamesInStep) {
  cBackupList list(AsciiFold);
  list.Add({L"A:\\x.txt", L"B:\\x.txt", L"a:\\X.TXT", L"C:\\y.txt"});
  list.StartRun();
  list.MarkBackedUp(0);

  list.Remove(0);  // entry 2 still shows the same backup, now as entry 1
  ASSERT_EQ(list.Count(), 3u);
  EXPECT_EQ(list.Source(1), L"a:\\X.TXT");
  EXPECT_EQ(list.EntriesOf(1), (Entries{1}));
  EXPECT_EQ(list.Text(1), kMark + L"a:\\X.TXT");
  EXPECT_EQ(list.DestinationName(0), L"x (2).txt");

  list.Remove(1);  // the last entry of A:\x.txt's backup: it is copied again if listed again
  EXPECT_EQ(list.Sources(), (std::vector<std::wstring>{L"B:\\x.txt", L"C:\\y.txt"}));
  EXPECT_EQ(list.StartRun(), (Entries{0, 1}));

  list.Add({L"A:\\x.txt", L"D:\\x.txt"});
  EXPECT_EQ(list.DestinationName(2), L"x.txt") << "back to its earlier backup";
  EXPECT_EQ(list.StateOf(2), State::Pending);
  EXPECT_EQ(list.DestinationName(3), L"x (3).txt") << "a removed backup's name goes to no other";

  list.Clear();
  EXPECT_EQ(list.Count(), 0u);
  EXPECT_TRUE(list.Sources().empty());
  EXPECT_TRUE(list.StartRun().empty());
  EXPECT_THROW(list.Remove(0), std::out_of_range);
}

TEST(cBackupList, NamesFromAnEarlierSessionAreKeptUnlessAnotherHasThem) {
  struct Row {
    const char* name;
    std::vector<std::wstring> sources, earlier, expected;
  };
  const Row rows[] = {
      {"kept as they were", {L"A:\\x.txt", L"B:\\x.txt"}, {L"x (2).txt", L"x.txt"}, {L"x (2).txt", L"x.txt"}},
      {"one taken twice", {L"A:\\x.txt", L"B:\\x.txt"}, {L"x.txt", L"X.TXT"}, {L"x.txt", L"x (2).txt"}},
      {"none given", {L"A:\\x.txt", L"B:\\x.txt"}, {L"", L""}, {L"x.txt", L"x (2).txt"}},
      {"a kept name is not numbered onto", {L"A:\\x.txt", L"B:\\x.txt"}, {L"", L"x.txt"}, {L"x (2).txt", L"x.txt"}},
  };
  for (const Row& row : rows) {
    cBackupList list(AsciiFold);
    list.Add(row.sources, row.earlier);
    for (std::size_t i = 0; i < row.expected.size(); ++i) EXPECT_EQ(list.DestinationName(i), row.expected[i]) << row.name << " " << i;
  }
}

}  // namespace
