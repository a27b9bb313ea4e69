// A backup run over real folders, driven as the window drives it and told to a recording
// listener: what it tells, in what order, what it leaves in the list, and how it stops.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <filesystem>
#include <functional>

#include "cBackupRun.h"
#include "cDestinationIndex.h"
#include "cFolderLock.h"
#include "cTestDir.h"
#include "mAsciiFold.h"
#include "mText.h"
#include "mVersions.h"

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

std::string Entries(const std::vector<std::size_t>& entries) {
  std::string text;
  for (const std::size_t entry : entries) text += (text.empty() ? "" : ",") + std::to_string(entry);
  return text;
}

// Records what the run tells, one line per event; counting and waiting only by how often.
class cRecorder : public cBackupRunEvents {
 public:
  void CopyProgress(std::int64_t CopyBytes, std::int64_t AllBytes) override {
    lines.push_back("progress " + std::to_string(CopyBytes) + "/" + std::to_string(AllBytes));
    if (onProgress) onProgress(CopyBytes);
  }
  void CopyComplete(std::int64_t AllBytes) override { lines.push_back("complete " + std::to_string(AllBytes)); }
  void Counting(int) override { ++countings; }
  bool ConfirmReplacing(int files) override {
    lines.push_back("replace " + std::to_string(files) + "?");
    return replace;
  }
  void Counted(const cRunProgress& progress) override {
    if (onCounted) onCounted();
    lines.push_back("counted " + std::to_string(progress.Files()) + " files " + std::to_string(progress.TotalBytes()) + " bytes");
  }
  void FileBegan(std::size_t entry, const cRunProgress& progress) override {
    if (onBegan) onBegan(entry);
    lines.push_back("file of " + std::to_string(entry) + ", " + std::to_string(progress.Current()) + "/" +
                    std::to_string(progress.Files()));
  }
  void EntriesChanged(const std::vector<std::size_t>& entries) override { lines.push_back("entries " + Entries(entries)); }
  void FileFailed(const std::vector<std::size_t>& entries) override { lines.push_back("failed " + Entries(entries)); }
  void DestinationBusy(std::chrono::milliseconds) override {
    lines.push_back("busy");
    if (onBusy) onBusy();
  }
  void Waiting(const cRunProgress*) override { ++waits; }

  Lines lines;
  int countings = 0, waits = 0;
  std::function<void(std::int64_t)> onProgress;
  bool replace = true;  // the answer to ConfirmReplacing
  std::function<void()> onCounted;
  std::function<void(std::size_t)> onBegan;
  std::function<void()> onBusy;
};

class BackupRunTest : public testing::Test {
 protected:
  BackupRunTest() {
    engine.BufferSize(kChunk);
    for (const wchar_t* folder : {L"src/photos/sub", L"dest"}) fs::create_directories(FsPath(dir.Path(folder)));
  }
  std::wstring At(const std::wstring& relative) const { return dir.Root() + L"\\" + relative; }

  // Runs to the end as the window does: a step, then whatever the listener does between steps.
  const cBackupRun::Outcome& RunAll(cBackupRun& run) {
    while (run.Step()) {
    }
    return run.Result();
  }

  static constexpr std::int32_t kChunk = 4096;
  cTestDir dir;
  cBackupList list{AsciiFold};
  cCopyFile engine;
  cRecorder recorder;
};

TEST_F(BackupRunTest, ARunCountsFirstThenTellsEachFileItsEventsAndEachEntryOnce) {
  dir.Write(L"src/a.txt", Pattern(5000, 1));
  dir.Write(L"src/photos/p.jpg", Pattern(10, 2));
  dir.Write(L"src/photos/sub/q.jpg", Pattern(0, 3));
  dir.Write(L"dest/self.txt", Pattern(7, 4));
  list.Add({At(L"src\\a.txt"), At(L"src\\photos\\"), At(L"dest\\self.txt")});
  cBackupRun::Outcome outcome;
  {
    cBackupRun run(list, At(L"dest"), engine, recorder);
    outcome = RunAll(run);
    EXPECT_NE(engine.Listener(), nullptr) << "the engine tells the run";
  }
  EXPECT_EQ(engine.Listener(), nullptr) << "and, once it went, what it told before";

  EXPECT_EQ(recorder.lines, (Lines{
                                "counted 3 files 5010 bytes",
                                "file of 0, 1/3", "progress 4096/5000", "progress 5000/5000", "complete 5000",
                                "file of 1, 2/3", "progress 10/10", "complete 10",
                                "file of 1, 3/3", "complete 0",
                                "entries 1",
                                "failed 2",
                            }));
  EXPECT_GE(recorder.waits, 5) << "between steps and after every chunk";
  EXPECT_EQ(outcome.files, 3);
  EXPECT_EQ(outcome.backedUp, 3);
  EXPECT_FALSE(outcome.stopped);
  EXPECT_EQ(list.StateOf(0), cBackupList::State::BackedUp);
  EXPECT_EQ(list.StateOf(2), cBackupList::State::Failed);
  EXPECT_EQ(dir.Read(L"dest/photos/sub/q.jpg"), Pattern(0, 3));
}

// A stop keeps the older backup of the file under way and copies nothing further; a stop that
// comes once every file is done leaves the run finished.
TEST_F(BackupRunTest, AStopEndsTheRunKeepingTheOlderBackupUnlessNothingIsLeft) {
  struct Row {
    const char* what;
    std::int64_t stopAt;  // the progress event of b.bin whose handler stops the run
    bool stopped;
    cBackupList::State b;
  };
  const Row rows[] = {
      {"in the middle of the last file", 2 * kChunk, true, cBackupList::State::Pending},
      {"with the last chunk of the last file", 3 * kChunk, false, cBackupList::State::BackedUp},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    dir.Write(L"src/a.txt", Pattern(10, 1));
    dir.Write(L"src/b.bin", Pattern(3 * kChunk, 2));
    dir.Write(L"dest/b.bin", Pattern(100, 3));
    cBackupList fresh(AsciiFold);
    fresh.Add({At(L"src\\a.txt"), At(L"src\\b.bin")});
    cBackupRun run(fresh, At(L"dest"), engine, recorder);
    recorder.onProgress = [&](std::int64_t copied) {
      if (copied == row.stopAt) run.Stop();
    };
    const auto& outcome = RunAll(run);
    EXPECT_EQ(outcome.stopped, row.stopped);
    EXPECT_EQ(fresh.StateOf(0), cBackupList::State::BackedUp);
    EXPECT_EQ(fresh.StateOf(1), row.b);
    EXPECT_EQ(dir.Read(L"dest/b.bin"), row.stopped ? Pattern(100, 3) : Pattern(3 * kChunk, 2));
  }
}

TEST_F(BackupRunTest, AStopWhileCountingCopiesNothing) {
  dir.Write(L"src/photos/p.jpg", Pattern(10, 2));
  list.Add({At(L"src\\photos\\")});
  cBackupRun run(list, At(L"dest"), engine, recorder);
  run.Stop();
  const auto& outcome = RunAll(run);
  EXPECT_TRUE(outcome.stopped);
  EXPECT_FALSE(outcome.counted);
  EXPECT_FALSE(dir.Exists(L"dest/photos"));
  EXPECT_EQ(list.StateOf(0), cBackupList::State::Pending);
}

}  // namespace

// What a killed copy left at the top of the destination goes, whether the run's entries are
// files, whose backups are looked up in that folder's listing, or folders alone.
TEST_F(BackupRunTest, ARunRemovesTheTemporaryFilesAKilledCopyLeftAtTheTop) {
  dir.Write(L"src/a.txt", Pattern(10, 1));
  const struct {
    const char* entries;
    std::vector<std::wstring> sources;
  } cases[] = {{"a file", {L"src\\a.txt"}}, {"a folder alone", {L"src\\photos\\"}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entries);
    // No process has an id this large: above the system's limit.
    dir.Write(L"dest/~omb2147483646-3.tmp", Pattern(3, 2));
    cBackupList entries{AsciiFold};
    for (const std::wstring& source : c.sources) entries.Add({At(source)});
    cBackupRun run(entries, At(L"dest"), engine, recorder);
    RunAll(run);
    EXPECT_FALSE(dir.Exists(L"dest/~omb2147483646-3.tmp"));
  }
}
namespace {

// The one run folder below the destination's versions folder.
std::wstring OnlyRunFolder(const cTestDir& dir) {
  std::vector<std::wstring> runs;
  for (const auto& item : fs::directory_iterator(FsPath(dir.Path(L"dest/_版本")))) runs.push_back(WidePath(item.path().filename()));
  return runs.size() == 1 ? runs.front() : L"";
}

// A second run keeps what it replaces below the versions folder, under the run's start and the
// backup's own path; a new file, and one unchanged, keep nothing.
TEST_F(BackupRunTest, ASecondRunKeepsEachReplacedBackupAsAVersion) {
  dir.Write(L"src/a.txt", Pattern(100, 1));
  dir.Write(L"src/photos/p.jpg", Pattern(200, 2));
  dir.Write(L"src/photos/sub/q.jpg", Pattern(300, 3));
  list.Add({At(L"src\\a.txt"), At(L"src\\photos\\")});
  {
    cBackupRun first(list, At(L"dest"), engine, recorder);
    RunAll(first);
  }
  EXPECT_FALSE(dir.Exists(L"dest/_版本")) << "a first run replaces nothing";
  dir.Write(L"src/a.txt", Pattern(101, 4));
  dir.Write(L"src/photos/sub/q.jpg", Pattern(301, 5));
  dir.Write(L"src/photos/new.jpg", Pattern(10, 6));
  cBackupList again(AsciiFold);
  again.Add({At(L"src\\a.txt"), At(L"src\\photos\\")});
  cBackupRun second(again, At(L"dest"), engine, recorder);
  const auto& outcome = RunAll(second);
  EXPECT_EQ(outcome.replacements, 2);
  EXPECT_EQ(outcome.replaceAnswer, cBackupRun::Outcome::Answer::NotAsked);
  EXPECT_EQ(dir.Read(L"dest/a.txt"), Pattern(101, 4));
  EXPECT_EQ(dir.Read(L"dest/photos/sub/q.jpg"), Pattern(301, 5));
  const std::wstring run = L"dest/_版本/" + OnlyRunFolder(dir);
  ASSERT_TRUE(mVersions::RunStartOf(OnlyRunFolder(dir))) << "named as the run's start";
  EXPECT_EQ(dir.Read(run + L"/a.txt"), Pattern(100, 1));
  EXPECT_EQ(dir.Read(run + L"/photos/sub/q.jpg"), Pattern(300, 3));
  EXPECT_FALSE(dir.Exists(run + L"/photos/p.jpg")) << "unchanged";
  EXPECT_FALSE(dir.Exists(run + L"/photos/new.jpg")) << "new";
}

// A run that would replace most of an entry's many backups asks once before it writes anything;
// "否" copies the new files only, and leaves the entry neither backed up nor failed.
TEST_F(BackupRunTest, ARunReplacingManyBackupsAsksFirstAndOnNoCopiesOnlyNewFiles) {
  for (const bool replace : {true, false}) {
    SCOPED_TRACE(replace ? "是" : "否");
    fs::remove_all(FsPath(dir.Path(L"dest")));
    fs::create_directories(FsPath(dir.Path(L"dest/photos")));
    for (int i = 0; i < 20; ++i) {
      const std::wstring name = L"photos/f" + std::to_wstring(i) + L".jpg";
      dir.Write(L"dest/" + name, Pattern(50, 7));
      dir.Write(L"src/" + name, Pattern(60, 8));
    }
    dir.Write(L"src/photos/new.jpg", Pattern(10, 9));
    cBackupList fresh(AsciiFold);
    fresh.Add({At(L"src\\photos\\")});
    recorder.lines.clear();
    recorder.replace = replace;
    cBackupRun run(fresh, At(L"dest"), engine, recorder);
    const auto& outcome = RunAll(run);
    ASSERT_GE(recorder.lines.size(), 2u);
    EXPECT_EQ(recorder.lines[0], "replace 20?") << "asked once, before anything else";
    EXPECT_EQ(recorder.lines[1].substr(0, 7), "counted");
    EXPECT_EQ(std::count(recorder.lines.begin(), recorder.lines.end(), "replace 20?"), 1);
    EXPECT_EQ(outcome.replacements, 20);
    EXPECT_EQ(outcome.replaceAnswer, replace ? cBackupRun::Outcome::Answer::Replace : cBackupRun::Outcome::Answer::Skip);
    EXPECT_EQ(outcome.skipped, replace ? 0 : 20);
    EXPECT_EQ(dir.Read(L"dest/photos/f7.jpg"), replace ? Pattern(60, 8) : Pattern(50, 7));
    EXPECT_EQ(dir.Read(L"dest/photos/new.jpg"), Pattern(10, 9));
    EXPECT_EQ(dir.Exists(L"dest/_版本"), replace);
    EXPECT_EQ(fresh.StateOf(0), replace ? cBackupList::State::BackedUp : cBackupList::State::Pending);
    EXPECT_TRUE(fresh.Failures().empty());
  }
}

// A backup belongs to one source: another source of the same name, in a later session or a
// one-off run, gets a name of its own, while a file that no run made is replaced and kept.
TEST_F(BackupRunTest, ABackupBelongsToTheSourceItWasMadeFrom) {
  for (const wchar_t* folder : {L"src/工作", L"src/私人"}) fs::create_directories(FsPath(dir.Path(folder)));
  dir.Write(L"src/工作/报告.txt", Pattern(10, 1));
  dir.Write(L"src/私人/报告.txt", Pattern(20, 2));
  dir.Write(L"src/notes.txt", Pattern(30, 3));
  dir.Write(L"dest/notes.txt", Pattern(40, 4));  // the user's own, there before any run
  {
    cBackupList first(AsciiFold);
    first.Add({At(L"src\\工作\\报告.txt")});
    cBackupRun run(first, At(L"dest"), engine, recorder);
    RunAll(run);
  }
  cBackupList later(AsciiFold);  // another session: 工作's entry is gone
  later.Add({At(L"src\\私人\\报告.txt"), At(L"src\\notes.txt")});
  cBackupRun run(later, At(L"dest"), engine, recorder);
  RunAll(run);
  EXPECT_EQ(later.DestinationName(0), L"报告 (2).txt");
  EXPECT_EQ(dir.Read(L"dest/报告.txt"), Pattern(10, 1)) << "工作's backup untouched";
  EXPECT_EQ(dir.Read(L"dest/报告 (2).txt"), Pattern(20, 2));
  EXPECT_EQ(dir.Read(L"dest/notes.txt"), Pattern(30, 3)) << "a file no run made is replaced";
  const cDestinationIndex index = cDestinationIndex::Load(At(L"dest"), AsciiFold);
  const std::wstring kept = OnlyRunFolder(dir);
  EXPECT_EQ(dir.Read(L"dest/_版本/" + kept + L"/notes.txt"), Pattern(40, 4)) << "and kept";
  EXPECT_EQ(index.VersionSource(kept, L"notes.txt"), std::nullopt) << "a version of no known source, never pruned";
  ASSERT_TRUE(index.OwnerOf(L"报告.txt"));
  EXPECT_EQ(index.OwnerOf(L"报告.txt")->root + index.OwnerOf(L"报告.txt")->path, At(L"src\\工作\\报告.txt"));
}

// A destination in use by another run is waited for: the run goes on once it is free, and a stop
// or the caller's limit ends the wait with nothing read or written there.
TEST_F(BackupRunTest, ARunIntoADestinationInUseWaitsForIt) {
  enum class Then { Released, Stopped, GivenUp };
  const struct {
    const char* name;
    Then then;
    bool copied;
  } rows[] = {{"the other run ends", Then::Released, true}, {"stopped", Then::Stopped, false}, {"given up", Then::GivenUp, false}};
  dir.Write(L"src/a.txt", Pattern(10, 1));
  for (const auto& row : rows) {
    fs::remove(FsPath(dir.Path(L"dest/a.txt")));
    cFolderLock::Attempt attempt;
    std::optional<cFolderLock> other = cFolderLock::TryTake(At(L"dest"), attempt);
    ASSERT_EQ(attempt, cFolderLock::Attempt::Taken);
    cBackupList fresh(AsciiFold);
    fresh.Add({At(L"src\\a.txt")});
    recorder.lines.clear();
    cBackupRun run(fresh, At(L"dest"), engine, recorder);
    if (row.then == Then::GivenUp) run.WaitAtMost(std::chrono::milliseconds(0));
    int busy = 0;
    recorder.onBusy = [&] {
      if (++busy < 2) return;
      if (row.then == Then::Released) other.reset();
      if (row.then == Then::Stopped) run.Stop();
    };
    const auto& outcome = RunAll(run);
    EXPECT_EQ(dir.Exists(L"dest/a.txt"), row.copied) << row.name;
    EXPECT_EQ(outcome.destinationBusy, row.then == Then::GivenUp) << row.name;
    EXPECT_EQ(outcome.stopped, row.then == Then::Stopped) << row.name;
    EXPECT_EQ(recorder.lines.empty() ? "" : recorder.lines.front(), row.then == Then::GivenUp ? "" : "busy") << row.name;
    recorder.onBusy = nullptr;
  }
}

// Two runs that start in the same second keep their versions in folders of their own.
TEST_F(BackupRunTest, ARunKeepsItsVersionsInAFolderNoOtherRunHas) {
  dir.Write(L"dest/a.txt", Pattern(10, 1));
  dir.Write(L"src/a.txt", Pattern(11, 2));
  const std::time_t now = std::time(nullptr);
  for (const std::time_t second : {now, now + 1, now + 2})
    fs::create_directories(FsPath(dir.Path(L"dest/_版本/" + mVersions::RunFolderName(mVersions::At(second)))));
  list.Add({At(L"src\\a.txt")});
  cBackupRun run(list, At(L"dest"), engine, recorder);
  RunAll(run);
  std::wstring kept;
  for (const auto& item : fs::directory_iterator(FsPath(dir.Path(L"dest/_版本"))))
    if (fs::exists(item.path() / "a.txt")) kept = WidePath(item.path().filename());
  EXPECT_EQ(kept.substr(kept.size() < 4 ? 0 : kept.size() - 4), L" (2)") << testing::PrintToString(kept);
}

// Versions older than 30 days go when a run starts, but for each file's newest one; which source
// each was a backup of is told by the destination's index.
TEST_F(BackupRunTest, ARunStartsByPruningOldVersions) {
  for (const wchar_t* folder : {L"dest/_版本/2001-01-01 000000/sub", L"dest/_版本/mine"}) fs::create_directories(FsPath(dir.Path(folder)));
  const std::wstring recentRun = mVersions::RunFolderName(mVersions::Now());  // one second for both uses
  const std::wstring recent = L"dest/_版本/" + recentRun;
  fs::create_directories(FsPath(dir.Path(recent)));
  for (const wchar_t* file : {L"dest/_版本/2001-01-01 000000/sub/a.txt", L"dest/_版本/2001-01-01 000000/b.txt", L"dest/_版本/mine/a.txt"})
    dir.Write(file, Pattern(5, 1));
  fs::create_directories(FsPath(dir.Path(recent + L"/sub")));
  dir.Write(recent + L"/sub/a.txt", Pattern(5, 2));
  // The destination remembers the versions' sources: each of its backups was made by a run.
  cDestinationIndex index(At(L"dest"), AsciiFold);
  for (const std::wstring& run : {std::wstring(L"2001-01-01 000000"), recentRun})
    index.KeptVersion({run, L"sub", cDestinationIndex::Source{std::nullopt, L"E:\\", L"sub"}});
  index.KeptVersion({L"2001-01-01 000000", L"b.txt", cDestinationIndex::Source{std::nullopt, L"E:\\", L"b.txt"}});
  index.Save();
  dir.Write(L"src/a.txt", Pattern(5, 3));
  list.Add({At(L"src\\a.txt")});
  cBackupRun run(list, At(L"dest"), engine, recorder);
  run.Step();  // the destination taken
  EXPECT_FALSE(dir.Exists(L"dest/_版本/2001-01-01 000000/sub")) << "a newer version of sub/a.txt is kept";
  EXPECT_TRUE(dir.Exists(L"dest/_版本/2001-01-01 000000/b.txt")) << "the newest version of b.txt";
  EXPECT_TRUE(dir.Exists(L"dest/_版本/mine/a.txt")) << "not a run's folder";
  EXPECT_TRUE(dir.Exists(recent + L"/sub/a.txt"));
}

// A destination that goes away ends the run at once: no failure for each file left, and what was
// backed up before stays as it was.
TEST_F(BackupRunTest, ADestinationThatGoesAwayEndsTheRunAtOnce) {
  // Larger than a chunk, so that each file is copied alone and begins after the one before.
  const Bytes content = Pattern(kChunk + 10, 1);
  for (int i = 0; i < 3; ++i) dir.Write(L"src/f" + std::to_wstring(i) + L".txt", content);
  list.Add({At(L"src\\f0.txt"), At(L"src\\f1.txt"), At(L"src\\f2.txt")});
  cBackupRun run(list, At(L"dest"), engine, recorder);
  recorder.onBegan = [&](std::size_t entry) {
    if (entry == 1) fs::rename(FsPath(dir.Path(L"dest")), FsPath(dir.Path(L"pulled")));
  };
  const auto& outcome = RunAll(run);
  EXPECT_TRUE(outcome.destinationGone);
  EXPECT_EQ(outcome.backedUp, 1);
  EXPECT_TRUE(list.Failures().empty());
  EXPECT_EQ(list.StateOf(0), cBackupList::State::BackedUp);
  EXPECT_EQ(list.StateOf(1), cBackupList::State::Pending);
  EXPECT_EQ(list.StateOf(2), cBackupList::State::Pending);
  EXPECT_EQ(dir.Read(L"pulled/f0.txt"), content);
  // Nothing else, but for what the destination remembers of its backups, and the run's lock file
  // where the file system let the folder move with it open.
  std::vector<std::wstring> left;
  for (const auto& item : fs::directory_iterator(FsPath(dir.Path(L"pulled")))) left.push_back(WidePath(item.path().filename()));
  std::erase(left, std::wstring(cFolderLock::kFileName));
  std::erase(left, std::wstring(cDestinationIndex::kFileName));
  EXPECT_EQ(left, std::vector<std::wstring>{L"f0.txt"});
}

// Files of many entries are in flight at once, each entry's end in line behind its file: a stop
// as the first one lands marks an entry only where its file was copied whole.
TEST_F(BackupRunTest, AStopWithTheFilesOfManyEntriesInFlightMarksOnlyEntriesCopiedWhole) {
  constexpr std::uint32_t kEntries = 8;
  for (std::uint32_t i = 0; i < kEntries; ++i) {
    dir.Write(L"src/f" + std::to_wstring(i) + L".txt", Pattern(10, i));
    list.Add({At(L"src\\f" + std::to_wstring(i) + L".txt")});
  }
  cBackupRun run(list, At(L"dest"), engine, recorder);
  recorder.onBegan = [&](std::size_t) { run.Stop(); };
  EXPECT_TRUE(RunAll(run).stopped);
  EXPECT_EQ(list.StateOf(0), cBackupList::State::BackedUp);
  for (std::uint32_t i = 0; i < kEntries; ++i) {
    const std::wstring backup = L"dest/f" + std::to_wstring(i) + L".txt";
    const bool whole = fs::exists(FsPath(dir.Path(backup))) && dir.Read(backup) == Pattern(10, i);
    EXPECT_EQ(list.StateOf(i) == cBackupList::State::BackedUp, whole) << i;
  }
}

// A run that does not fit the destination's free space copies nothing; one that filled up after
// the check fails the file it was copying and keeps its older backup.
TEST_F(BackupRunTest, ARunThatDoesNotFitCopiesNothingAndAFullDiskKeepsTheOlderBackup) {
  cTestDir tiny("OMB_TEST_TINY_DIR", cTestDir::Fresh{});
  if (!tiny.Valid()) GTEST_SKIP() << "OMB_TEST_TINY_DIR (a small mounted file system) is not set";
  dir.Write(L"src/big.bin", Pattern(1 << 20, 1));
  dir.Write(L"src/small.txt", Pattern(100, 2));
  list.Add({At(L"src\\small.txt"), At(L"src\\big.bin")});
  {
    cBackupRun run(list, tiny.Root(), engine, recorder);
    const auto& outcome = RunAll(run);
    EXPECT_TRUE(outcome.noRoom);
    EXPECT_GE(outcome.neededBytes, 1 << 20);
    EXPECT_LT(outcome.freeBytes, outcome.neededBytes);
    EXPECT_TRUE(tiny.Names().empty()) << "nothing copied";
  }
  tiny.Write(L"big.bin", Pattern(1000, 3));
  dir.Write(L"src/big.bin", Pattern(100 << 10, 4));  // fits, until the disk is filled from outside
  cBackupList fresh(AsciiFold);
  fresh.Add({At(L"src\\small.txt"), At(L"src\\big.bin")});
  recorder.onCounted = [&] {
    std::FILE* filler = std::fopen(mText::ToUtf8(tiny.Path(L"filler")).c_str(), "wb");
    const Bytes chunk(4096);
    while (filler && std::fwrite(chunk.data(), 1, chunk.size(), filler) == chunk.size()) {
    }
    if (filler) std::fclose(filler);
  };
  cBackupRun run(fresh, tiny.Root(), engine, recorder);
  const auto& outcome = RunAll(run);
  EXPECT_FALSE(outcome.noRoom);
  EXPECT_EQ(fresh.StateOf(1), cBackupList::State::Failed);
  EXPECT_EQ(tiny.Read(L"big.bin"), Pattern(1000, 3));
}

}  // namespace
