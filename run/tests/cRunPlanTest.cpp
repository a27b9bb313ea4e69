// The plan of a run over real folders: what it walks, names, leaves out and refuses.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>

#include "cRunPlan.h"
#include "cTestDir.h"
#include "mAsciiFold.h"
#include "mFileSys.h"

namespace {

namespace fs = std::filesystem;
using Kind = cRunPlan::Kind;
using Refusal = cSourceGuard::Refusal;
using Lines = std::vector<std::wstring>;

class RunPlanTest : public testing::Test {
 protected:
  // A path as the window writes it, with backslashes below the test folder.
  std::wstring At(const std::wstring& relative) const { return dir.Root() + L"\\" + relative; }
  void Folder(const std::wstring& relative) const { fs::create_directories(FsPath(dir.Path(Slashed(relative)))); }
  void File(const std::wstring& relative, std::size_t bytes = 10) const { dir.Write(Slashed(relative), Pattern(bytes)); }
  static std::wstring Slashed(std::wstring path) {
    for (auto& c : path)
      if (c == L'\\') c = L'/';
    return path;
  }
  std::wstring Relative(const std::wstring& path) const { return path.substr(dir.Root().size() + 1); }

  // Every step of a plan, walked with a small budget so that the walk goes on across calls.
  static std::vector<cRunPlan::Step> Walk(cRunPlan& plan) {
    std::vector<cRunPlan::Step> steps;
    cRunPlan::Step step;
    for (cRunPlan::Got got; (got = plan.Next(step, 2)) != cRunPlan::Got::End;)
      if (got == cRunPlan::Got::Step) steps.push_back(step);
    return steps;
  }

  // Each step as one line: what it does, and where, below the test folder.
  Lines Describe(const std::vector<cRunPlan::Step>& steps) const {
    Lines lines;
    for (const auto& step : steps) {
      std::wstring what = step.kind == Kind::Copy ? L"copy " : step.kind == Kind::CreateFolder ? L"folder " : L"";
      if (step.kind == Kind::Fail) what = L"fail ";
      if (step.kind == Kind::Refuse) what = L"refuse" + std::to_wstring(static_cast<int>(step.refusal)) + L" ";
      if (step.kind == Kind::EntryDone) {
        lines.push_back(std::to_wstring(step.entry) + L" done");
        continue;
      }
      lines.push_back(std::to_wstring(step.entry) + L" " + what + Relative(step.source) + L" -> " + Relative(step.destination));
    }
    return lines;
  }

  std::unique_ptr<cRunPlan> Plan(const Lines& sources, const std::wstring& destination, bool lookAtBackups = true) {
    for (const auto& source : sources) list.Add({At(source)});
    return std::make_unique<cRunPlan>(list, list.StartRun(), At(destination), lookAtBackups);
  }

  cTestDir dir;
  cBackupList list{AsciiFold};
};

TEST_F(RunPlanTest, AFolderIsWalkedWholeAroundTheDestinationWithCaseAlikeNamesApartAndLinksNamed) {
#ifdef _WIN32
  GTEST_SKIP() << "names alike but for case, and symbolic links, are made in the native build's folders";
#endif
  for (const wchar_t* folder : {L"data\\sub", L"data\\empty", L"data\\backup", L"elsewhere"}) Folder(folder);
  for (const wchar_t* file : {L"data\\a.txt", L"data\\Readme.txt", L"data\\README.txt", L"data\\sub\\b.txt"}) File(file);
  fs::create_directory_symlink(FsPath(dir.Path(L"elsewhere")), FsPath(dir.Path(L"data/link")));
  fs::create_symlink(FsPath(dir.Path(L"data/a.txt")), FsPath(dir.Path(L"data/flink")));

  const auto plan = Plan({L"data\\"}, L"data\\backup");
  const auto steps = Walk(*plan);
  EXPECT_EQ(Describe(steps), (Lines{
                                L"0 folder data\\ -> data\\backup\\data",
                                L"0 copy data\\README.txt -> data\\backup\\data\\README.txt",
                                L"0 copy data\\Readme.txt -> data\\backup\\data\\Readme (2).txt",
                                L"0 copy data\\a.txt -> data\\backup\\data\\a.txt",
                                L"0 folder data\\empty\\ -> data\\backup\\data\\empty",
                                L"0 folder data\\sub\\ -> data\\backup\\data\\sub",
                                L"0 copy data\\sub\\b.txt -> data\\backup\\data\\sub\\b.txt",
                                L"0 done",
                            }));
  EXPECT_EQ(plan->Links(), (Lines{At(L"data\\flink"), At(L"data\\link")}));
}

TEST_F(RunPlanTest, AWriteOntoAListedSourceIsRefusedAndEndsItsEntry) {
  for (const wchar_t* folder : {L"x", L"dest\\photos"}) Folder(folder);
  for (const wchar_t* file : {L"x\\report.doc", L"dest\\report.doc", L"dest\\self.txt", L"dest\\photos\\p.jpg"}) File(file);

  const auto plan = Plan({L"x\\report.doc", L"dest\\report.doc", L"dest\\self.txt", L"dest\\photos\\", L"dest\\"}, L"dest");
  const auto another = std::to_wstring(static_cast<int>(Refusal::AnotherSource));
  const auto itself = std::to_wstring(static_cast<int>(Refusal::Itself));
  const auto destination = std::to_wstring(static_cast<int>(Refusal::DestinationIsFolder));
  EXPECT_EQ(Describe(Walk(*plan)), (Lines{
                                L"0 refuse" + another + L" x\\report.doc -> dest\\report.doc", L"0 done",
                                L"1 copy dest\\report.doc -> dest\\report (2).doc", L"1 done",
                                L"2 refuse" + itself + L" dest\\self.txt -> dest\\self.txt", L"2 done",
                                L"3 refuse" + itself + L" dest\\photos\\ -> dest\\photos", L"3 done",
                                L"4 refuse" + destination + L" dest\\ -> dest\\dest", L"4 done",
                            }));
}

TEST_F(RunPlanTest, BackupsAreStampedFromOneListingAndLeftoversGoWhereverACopyLands) {
  for (const wchar_t* folder : {L"data\\sub", L"dest\\data\\sub"}) Folder(folder);
  File(L"data\\same.txt", 10);
  File(L"data\\sub\\changed.txt", 10);
  File(L"dest\\data\\same.txt", 10);
  File(L"dest\\data\\sub\\changed.txt", 11);
  // Left by a copy of a process that no longer runs (no process has an id this large: above the system's limit).
  File(L"dest\\data\\sub\\~omb2147483646-3.tmp");
  // A whole second, which every platform's library sets exactly.
  const auto time = fs::file_time_type(std::chrono::duration_cast<fs::file_time_type::duration>(
      fs::last_write_time(FsPath(dir.Path(L"data/same.txt"))).time_since_epoch() - std::chrono::hours(1)));
  const auto whole = std::chrono::floor<std::chrono::seconds>(time);
  for (const wchar_t* file : {L"data/same.txt", L"dest/data/same.txt"}) fs::last_write_time(FsPath(dir.Path(file)), whole);

  const auto plan = Plan({L"data\\"}, L"dest");
  Lines unchanged;
  for (const auto& step : Walk(*plan))
    if (step.kind == Kind::Copy && cRunPlan::Unchanged(step)) unchanged.push_back(Relative(step.source));
  EXPECT_EQ(unchanged, Lines{L"data\\same.txt"});
  EXPECT_FALSE(dir.Exists(L"dest/data/sub/~omb2147483646-3.tmp"));
}

// Many file entries of one folder take their stamps from one listing of it, as few take theirs
// one by one: the same lengths, the same unchanged backups, and one that is gone counts as empty.
TEST_F(RunPlanTest, FileEntriesTakeTheSameStampsWhetherTheirFolderIsListedOrEachIsAsked) {
  for (const int entries : {3, 20}) {
    SCOPED_TRACE(entries);
    const std::wstring folder = L"src" + std::to_wstring(entries);
    Folder(folder);
    Folder(L"dest" + std::to_wstring(entries));
    Lines sources;
    for (int i = 0; i < entries; ++i) {
      File(folder + L"\\f" + std::to_wstring(i) + L".txt", static_cast<std::size_t>(i + 1));
      sources.push_back(folder + L"\\f" + std::to_wstring(i) + L".txt");
    }
    File(L"dest" + std::to_wstring(entries) + L"\\f0.txt", 1);
    const auto time = std::chrono::floor<std::chrono::seconds>(fs::last_write_time(FsPath(dir.Path(Slashed(sources[0])))));
    for (const std::wstring& file : {sources[0], L"dest" + std::to_wstring(entries) + L"\\f0.txt"})
      fs::last_write_time(FsPath(dir.Path(Slashed(file))), time);
    sources.push_back(folder + L"\\gone.txt");
    cBackupList files(AsciiFold);
    for (const auto& source : sources) files.Add({At(source)});
    cRunPlan plan(files, files.StartRun(), At(L"dest" + std::to_wstring(entries)), true);
    std::vector<std::int64_t> bytes;
    int unchanged = 0;
    for (const auto& step : Walk(plan)) {
      if (step.kind != Kind::Copy) continue;
      bytes.push_back(step.bytes);
      if (cRunPlan::Unchanged(step)) ++unchanged;
    }
    std::vector<std::int64_t> expected;
    for (int i = 1; i <= entries; ++i) expected.push_back(i);
    expected.push_back(0);
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(unchanged, 1);
  }
}

}  // namespace

// The plan that copies takes over the listings the counting plan just made, once it is gone: the
// backups, and the sources of a folder's many file entries, are judged as the count found them,
// not listed again.
TEST_F(RunPlanTest, TheCopyingPlanJudgesBackupsByTheListingTheCountMade) {
  Folder(L"src");
  Folder(L"dest");
  Lines sources;
  for (int i = 0; i < 16; ++i) {  // enough file entries of one folder for it to be listed
    sources.push_back(L"src\\f" + std::to_wstring(100 + i) + L".txt");
    File(sources.back(), 10);
  }
  File(L"dest\\f100.txt", 10);
  auto counting = Plan(sources, L"dest");
  Walk(*counting);
  File(L"src\\f100.txt", 14);  // both changed after the count
  File(L"dest\\f100.txt", 12);
  for (const bool takeOver : {true, false}) {
    SCOPED_TRACE(takeOver ? "taken over" : "listed again");
    auto copying = std::make_unique<cRunPlan>(list, list.StartRun(), At(L"dest"), true);
    if (takeOver) {
      copying->TakeListingOf(*counting);
      counting.reset();
    }
    const auto steps = Walk(*copying);
    ASSERT_EQ(steps.front().kind, Kind::Copy);
    ASSERT_TRUE(steps.front().backup.has_value());
    EXPECT_EQ(steps.front().backup->bytes, takeOver ? 10 : 12);
    EXPECT_EQ(steps.front().bytes, takeOver ? 10 : 14);
  }
}
