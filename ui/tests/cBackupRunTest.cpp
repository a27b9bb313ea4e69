// A backup run over real folders, driven as the window drives it and told to a recording
// listener: what it tells, in what order, what it leaves in the list, and how it stops.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "cBackupRun.h"
#include "cTestDir.h"
#include "mAsciiFold.h"

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
  void Counted(const cRunProgress& progress) override {
    lines.push_back("counted " + std::to_string(progress.Files()) + " files " + std::to_string(progress.TotalBytes()) + " bytes");
  }
  void FileBegan(std::size_t entry, const cRunProgress& progress) override {
    lines.push_back("file of " + std::to_string(entry) + ", " + std::to_string(progress.Current()) + "/" +
                    std::to_string(progress.Files()));
  }
  void EntriesChanged(const std::vector<std::size_t>& entries) override { lines.push_back("entries " + Entries(entries)); }
  void FileFailed(const std::vector<std::size_t>& entries) override { lines.push_back("failed " + Entries(entries)); }
  void Waiting() override { ++waits; }

  Lines lines;
  int countings = 0, waits = 0;
  std::function<void(std::int64_t)> onProgress;
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
