// The copy engine against real files: event sequences, stop requests, exact copies.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#endif

#include "CopyRecorder.h"
#include "cCopyFile.h"
#include "cFileError.h"
#include "cTestDir.h"
#include "mText.h"

namespace {

constexpr std::int32_t kChunk = 4096;

class CopyFileTest : public testing::Test {
 protected:
  CopyFileTest() { engine.BufferSize(kChunk); }

  void Copy(const std::wstring& from = L"src.bin", const std::wstring& to = L"dst.bin") {
    engine.CopyFile(dir.Path(from), dir.Path(to));
  }
  // Nothing but the named files is left in the folder (no temporary file).
  void ExpectOnlyFiles(std::vector<std::wstring> expected) {
    auto names = dir.Names();
    std::sort(names.begin(), names.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);
  }

  cTestDir dir;
  CopyRecorder recorder;
  cCopyFile engine{&recorder};
};

TEST(cCopyFileDefaults, StartsWithOneMebibyteChunks) {
  cCopyFile engine;
  EXPECT_EQ(engine.BufferSize(), 1048576);
  engine.BufferSize(-7);
  EXPECT_EQ(engine.BufferSize(), -7) << "the setter stores without checking";
}

struct SizeCase {
  const char* name;
  std::int64_t length;
  std::vector<std::int64_t> progress;
};

TEST_F(CopyFileTest, RaisesOneProgressPerChunkThenOneComplete) {
  const SizeCase cases[] = {
      {"empty", 0, {}},
      {"one byte", 1, {1}},
      {"one chunk less one", kChunk - 1, {kChunk - 1}},
      {"exactly one chunk", kChunk, {kChunk}},
      {"one chunk and one byte", kChunk + 1, {kChunk, kChunk + 1}},
      {"two and a half chunks", kChunk * 5 / 2, {kChunk, 2 * kChunk, kChunk * 5 / 2}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    recorder.events.clear();
    const Bytes data = Pattern(static_cast<std::size_t>(c.length), static_cast<std::uint32_t>(c.length + 3));
    dir.Write(L"src.bin", data);
    Copy();
    std::vector<CopyEvent> expected;
    for (auto bytes : c.progress) expected.push_back(Progress(bytes, c.length));
    expected.push_back(Complete(c.length));
    EXPECT_EQ(recorder.events, expected);
    EXPECT_EQ(dir.Read(L"dst.bin"), data);
    ExpectOnlyFiles({L"src.bin", L"dst.bin"});
  }
}

TEST_F(CopyFileTest, CopiesWithTheWindowsChunkSizeByteForByte) {
  engine.BufferSize(0x400000);
  const Bytes data = Pattern(10485760);
  dir.Write(L"src.bin", data);
  Copy();
  EXPECT_EQ(recorder.events, (std::vector<CopyEvent>{Progress(4194304, 10485760),
                                                     Progress(8388608, 10485760),
                                                     Progress(10485760, 10485760),
                                                     Complete(10485760)}));
  EXPECT_EQ(dir.Read(L"dst.bin"), data);
}

TEST_F(CopyFileTest, ReplacesALongerOlderDestinationExactly) {
  dir.Write(L"dst.bin", Pattern(3 * kChunk, 9));
  const Bytes data = Pattern(kChunk + 10);
  dir.Write(L"src.bin", data);
  Copy();
  EXPECT_EQ(dir.Read(L"dst.bin"), data) << "no stale tail of the older file";

  dir.Write(L"src.bin", {});
  Copy();
  EXPECT_TRUE(dir.Read(L"dst.bin").empty()) << "an empty source empties the destination";
}

TEST_F(CopyFileTest, ChunkSizeChangedByListenerAppliesFromTheNextChunk) {
  dir.Write(L"src.bin", Pattern(10000));
  recorder.onProgress = [&](std::int64_t) { engine.BufferSize(1000); };
  Copy();
  std::vector<std::int64_t> progress;
  for (const auto& e : recorder.events)
    if (e.kind == CopyEvent::Progress) progress.push_back(e.copyBytes);
  EXPECT_EQ(progress, (std::vector<std::int64_t>{4096, 5096, 6096, 7096, 8096, 9096, 10000}));
  EXPECT_EQ(dir.Read(L"dst.bin"), Pattern(10000));
}

TEST_F(CopyFileTest, StopFromAProgressHandlerDiscardsThePartialCopyAndKeepsTheOldBackup) {
  // Larger than one piece of the read-ahead, so the stop also ends a reader still at work.
  constexpr std::int64_t kLength = 80 * kChunk + 7;
  const Bytes data = Pattern(kLength);
  dir.Write(L"src.bin", data);
  const Bytes older = Pattern(100, 5);
  const auto lastYear = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 400);
  struct Case {
    const char* name;
    bool olderBackup;
    std::int64_t stopAt;  // the progress event whose handler stops the copy; past the end: the first
                          // wait while the whole copy is read back
    bool copied;          // the stop came with the last chunk: the copy is whole
  } cases[] = {
      {"first chunk, older backup", true, kChunk, false},
      {"first chunk, no backup", false, kChunk, false},
      {"middle chunk, older backup", true, 40 * kChunk, false},
      {"last chunk, older backup", true, kLength, true},
      {"while read back, older backup", true, kLength + 1, false},
      {"while read back, no backup", false, kLength + 1, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    recorder.events.clear();
    std::filesystem::remove(FsPath(dir.Path(L"dst.bin")));
    std::filesystem::file_time_type olderTime;
    if (c.olderBackup) {
      dir.Write(L"dst.bin", older);
      std::filesystem::last_write_time(FsPath(dir.Path(L"dst.bin")), lastYear);
      olderTime = std::filesystem::last_write_time(FsPath(dir.Path(L"dst.bin")));  // as stored
    }
    recorder.onProgress = [&](std::int64_t copy) {
      if (copy == c.stopAt) engine.CopyStop();
    };
    recorder.onWaiting = [&] {
      if (c.stopAt > kLength) engine.CopyStop();
    };
    Copy();
    std::vector<CopyEvent> expected;
    for (std::int64_t copy = kChunk; copy < std::min(c.stopAt, kLength); copy += kChunk) expected.push_back(Progress(copy, kLength));
    expected.push_back(Progress(std::min(c.stopAt, kLength), kLength));
    expected.push_back(Complete(kLength));
    EXPECT_EQ(recorder.events, expected);
    if (c.copied) {
      EXPECT_EQ(dir.Read(L"dst.bin"), data);
    } else if (c.olderBackup) {
      EXPECT_EQ(dir.Read(L"dst.bin"), older);
      EXPECT_EQ(std::filesystem::last_write_time(FsPath(dir.Path(L"dst.bin"))), olderTime);
    } else {
      EXPECT_FALSE(dir.Exists(L"dst.bin")) << "no partial copy where there was no backup";
    }
    ExpectOnlyFiles(c.olderBackup || c.copied ? std::vector<std::wstring>{L"src.bin", L"dst.bin"}
                                              : std::vector<std::wstring>{L"src.bin"});

    recorder.onProgress = nullptr;
    recorder.onWaiting = nullptr;
    recorder.events.clear();
    Copy();
    EXPECT_EQ(recorder.events.size(), 82u) << "the stop request was cleared";
    EXPECT_EQ(dir.Read(L"dst.bin"), data);
  }
}

// A large copy thrown away is freed a step at a time, each step too short for the worker's slice:
// the listener hears from the engine after each, or the window would take no message meanwhile.
TEST_F(CopyFileTest, ALargeCopyThrownAwayIsFreedWithTheListenerHeardAfterEachStep) {
  constexpr std::int32_t kLarge = 16 << 20;
  engine.BufferSize(kLarge);
  dir.Write(L"src.bin", Pattern(6 * kLarge + 7));
  int waitsAtStop = 0;
  recorder.onProgress = [&](std::int64_t copy) {
    if (copy != 5 * kLarge) return;
    engine.CopyStop();
    waitsAtStop = recorder.waits;
  };
  Copy();
  EXPECT_GE(recorder.waits - waitsAtStop, 5) << "80 MiB freed 16 MiB at a time";
}

// The read-ahead's pieces belong to the copy under way: a listener that starts another copy from
// one of its events is refused, and the copy it interrupted goes on whole.
TEST_F(CopyFileTest, ACopyStartedFromAnEventIsRefusedAndTheCopyUnderWayGoesOn) {
  const Bytes outer = Pattern(8 * kChunk + 1, 21);
  dir.Write(L"src.bin", outer);
  dir.Write(L"inner.bin", Pattern(3 * kChunk, 22));
  int refused = 0;
  recorder.onProgress = [&](std::int64_t copy) {
    if (copy != 3 * kChunk) return;
    try {
      Copy(L"inner.bin", L"inner copy.bin");
    } catch (const std::logic_error&) {
      ++refused;
    }
  };
  Copy();
  EXPECT_EQ(refused, 1);
  EXPECT_TRUE(dir.Read(L"dst.bin") == outer);
  ExpectOnlyFiles({L"src.bin", L"dst.bin", L"inner.bin"});
}

TEST_F(CopyFileTest, StopWhileIdleMakesTheNextCopyCopyNothing) {
  const Bytes data = Pattern(2 * kChunk);
  dir.Write(L"src.bin", data);
  const Bytes older = Pattern(50, 8);
  dir.Write(L"old.bin", older);

  engine.CopyStop();
  Copy(L"src.bin", L"new.bin");
  EXPECT_EQ(recorder.events, (std::vector<CopyEvent>{Complete(2 * kChunk)}));
  EXPECT_TRUE(dir.Exists(L"new.bin"));
  EXPECT_TRUE(dir.Read(L"new.bin").empty()) << "created empty where none existed";

  engine.CopyStop();
  Copy(L"src.bin", L"old.bin");
  EXPECT_EQ(dir.Read(L"old.bin"), older) << "an existing destination stays as it was";
  ExpectOnlyFiles({L"src.bin", L"new.bin", L"old.bin"});

  recorder.events.clear();
  Copy(L"src.bin", L"new.bin");
  EXPECT_EQ(recorder.events.size(), 3u);
  EXPECT_EQ(dir.Read(L"new.bin"), data);
}

TEST_F(CopyFileTest, StopFromCompleteHandlerStaysPendingForTheNextCopy) {
  dir.Write(L"src.bin", Pattern(kChunk));
  class StopOnComplete : public CopyRecorder {
   public:
    cCopyFile* engine = nullptr;
    void CopyComplete(std::int64_t all) override {
      CopyRecorder::CopyComplete(all);
      engine->CopyStop();
    }
  } stopper;
  cCopyFile stopping(&stopper);
  stopper.engine = &stopping;
  stopping.CopyFile(dir.Path(L"src.bin"), dir.Path(L"a.bin"));
  stopping.CopyFile(dir.Path(L"src.bin"), dir.Path(L"b.bin"));
  EXPECT_EQ(stopper.events, (std::vector<CopyEvent>{Progress(kChunk, kChunk), Complete(kChunk), Complete(kChunk)}));
  EXPECT_TRUE(dir.Read(L"b.bin").empty());
}

TEST_F(CopyFileTest, CopyOntoItselfLeavesTheFileUnchanged) {
  const Bytes data = Pattern(kChunk * 3 + 5);
  dir.Write(L"same.bin", data);
  Copy(L"same.bin", L"same.bin");
  EXPECT_EQ(dir.Read(L"same.bin"), data);
  EXPECT_EQ(recorder.events.back(), Complete(kChunk * 3 + 5));
  ExpectOnlyFiles({L"same.bin"});
}

TEST_F(CopyFileTest, CopiesNamesOutsideAnyAnsiCodePage) {
  const std::wstring names[] = {L"备份 文件.txt", L"テスト ファイル.txt", L"emoji \U0001F600.bin",
                                L"Ελληνικά ü.dat"};
  for (const auto& name : names) {
    const Bytes data = Pattern(kChunk + 1, static_cast<std::uint32_t>(name.size()));
    dir.Write(name, data);
    engine.CopyFile(dir.Path(name), dir.Path(L"copy of " + name));
    EXPECT_EQ(dir.Read(L"copy of " + name), data);
  }
}

}  // namespace

namespace {

TEST_F(CopyFileTest, CompleteCopiesKeepTheSourcesLastWriteTime) {
  dir.Write(L"src.bin", Pattern(kChunk * 2));
  const auto stamp = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 400);
  std::filesystem::last_write_time(FsPath(dir.Path(L"src.bin")), stamp);
  Copy();
  EXPECT_EQ(std::filesystem::last_write_time(FsPath(dir.Path(L"dst.bin"))),
            std::filesystem::last_write_time(FsPath(dir.Path(L"src.bin"))));
}

#ifdef _WIN32
// A copy cut short by a crash or a power failure leaves what it wrote under the destination's
// own name only where nothing was there: hidden until whole, and replaced by the next copy.
TEST_F(CopyFileTest, ANewDestinationIsHiddenUntilWholeAndAHiddenLeftoverIsReplaced) {
  const auto attributes = [&] { return GetFileAttributesW(dir.Path(L"dst.bin").c_str()); };
  const Bytes leftover = Pattern(kChunk / 2, 9);
  struct Case {
    const char* name;
    bool leftoverThere;
  } cases[] = {{"nothing there", false}, {"a hidden leftover there", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(FsPath(dir.Path(L"dst.bin")));
    if (c.leftoverThere) {
      dir.Write(L"dst.bin", leftover);
      ASSERT_TRUE(SetFileAttributesW(dir.Path(L"dst.bin").c_str(), FILE_ATTRIBUTE_HIDDEN));
    }
    const Bytes data = Pattern(3 * kChunk, 4);
    dir.Write(L"src.bin", data);
    std::vector<std::size_t> lengths;
    recorder.onProgress = [&](std::int64_t copied) {
      EXPECT_NE(attributes(), INVALID_FILE_ATTRIBUTES);
      EXPECT_TRUE(attributes() & FILE_ATTRIBUTE_HIDDEN) << "hidden at " << copied;
      lengths.push_back(dir.Read(L"dst.bin").size());
    };
    Copy();
    // Written in place where nothing was there; beside the leftover, which stays until replaced.
    const std::vector<std::size_t> expected = c.leftoverThere ? std::vector<std::size_t>(3, kChunk / 2)
                                                              : std::vector<std::size_t>{kChunk, 2 * kChunk, 3 * kChunk};
    EXPECT_EQ(lengths, expected);
    EXPECT_EQ(dir.Read(L"dst.bin"), data);
    EXPECT_FALSE(attributes() & FILE_ATTRIBUTE_HIDDEN);
    ExpectOnlyFiles({L"dst.bin", L"src.bin"});
  }
}
#endif

// The four attributes a backup takes over, as Windows numbers them. Posix holds read-only only,
// as the owner's write bit.
constexpr std::uint32_t kReadOnly = 0x1, kHidden = 0x2, kSystem = 0x4, kArchive = 0x20;
#ifdef _WIN32
constexpr std::uint32_t kHeldHere = kReadOnly | kHidden | kSystem | kArchive;
std::uint32_t KeptAttributesOf(const std::wstring& path) { return GetFileAttributesW(path.c_str()) & kHeldHere; }
void GiveAttributes(const std::wstring& path, std::uint32_t attributes) {
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL));
}
constexpr std::uint32_t kAccessDenied = ERROR_ACCESS_DENIED;
#else
constexpr std::uint32_t kHeldHere = kReadOnly;
std::uint32_t KeptAttributesOf(const std::wstring& path) {
  const auto owner = std::filesystem::status(FsPath(path)).permissions() & std::filesystem::perms::owner_write;
  return owner == std::filesystem::perms::none ? kReadOnly : 0;
}
void GiveAttributes(const std::wstring& path, std::uint32_t attributes) {
  std::filesystem::permissions(FsPath(path), std::filesystem::perms::owner_write,
                               attributes & kReadOnly ? std::filesystem::perm_options::remove
                                                      : std::filesystem::perm_options::add);
}
constexpr std::uint32_t kAccessDenied = EACCES;
#endif

TEST_F(CopyFileTest, ABackupEndsWithItsSourcesFourAttributes) {
  const std::uint32_t sources[] = {0,       kReadOnly,          kHidden,           kSystem,
                                   kArchive, kReadOnly | kHidden, kHidden | kSystem | kArchive,
                                   kReadOnly | kHidden | kSystem | kArchive};
  enum class Backup { None, Older, OlderReadOnly };
  const Backup backups[] = {Backup::None, Backup::Older, Backup::OlderReadOnly};
  const Bytes data = Pattern(2 * kChunk + 1);
  const Bytes older = Pattern(100, 5);
  for (const std::uint32_t source : sources) {
    if ((source & kHeldHere) != source) continue;  // attributes this platform cannot hold
    for (const Backup backup : backups) {
      SCOPED_TRACE(testing::Message() << "source attributes 0x" << std::hex << source << ", backup " << static_cast<int>(backup));
      recorder.events.clear();
      if (dir.Exists(L"src.bin")) GiveAttributes(dir.Path(L"src.bin"), 0);  // writable again, from the row before
      dir.Write(L"src.bin", data);
      GiveAttributes(dir.Path(L"src.bin"), source);
      const std::uint32_t sourceHolds = KeptAttributesOf(dir.Path(L"src.bin"));
      ASSERT_EQ(sourceHolds & source, source);
      if (dir.Exists(L"dst.bin")) GiveAttributes(dir.Path(L"dst.bin"), 0);
      std::filesystem::remove(FsPath(dir.Path(L"dst.bin")));
      if (backup != Backup::None) {
        dir.Write(L"dst.bin", older);
        GiveAttributes(dir.Path(L"dst.bin"), backup == Backup::OlderReadOnly ? kReadOnly : 0);
      }
      if (backup == Backup::OlderReadOnly && !(source & kReadOnly)) {
        // A file read-only for another reason than its source stays as it is.
        try {
          Copy();
          ADD_FAILURE() << "the copy did not fail";
        } catch (const cFileError& error) {
          EXPECT_EQ(error.Step(), CopyStep::OpenDestination);
          EXPECT_EQ(error.Code(), kAccessDenied) << error.what();
        }
        EXPECT_TRUE(recorder.events.empty());
        EXPECT_EQ(dir.Read(L"dst.bin"), older);
        EXPECT_EQ(KeptAttributesOf(dir.Path(L"dst.bin")) & kReadOnly, kReadOnly);
      } else {
        Copy();
        EXPECT_EQ(dir.Read(L"dst.bin"), data);
        EXPECT_EQ(KeptAttributesOf(dir.Path(L"dst.bin")), sourceHolds);
      }
      ExpectOnlyFiles({L"src.bin", L"dst.bin"});
    }
  }
  GiveAttributes(dir.Path(L"src.bin"), 0);
  GiveAttributes(dir.Path(L"dst.bin"), 0);
}

}  // namespace

namespace {

// An older backup goes to the place the caller names for it (folders made as needed) only when
// the whole, checked copy takes its place: a stopped copy and a taken place leave it where it
// was, and a new file keeps nothing.
TEST_F(CopyFileTest, AnOlderBackupIsKeptElsewhereOnlyWhenTheCopyTakesItsPlace) {
  struct Row {
    const char* what;
    bool older;
    std::int64_t stopAt;  // 0: not stopped
    bool placeTaken;
    bool kept;
    bool readOnly = false;  // the source, and so its older backup
  };
  const Row rows[] = {
      {"a whole copy over an older backup", true, 0, false, true},
      {"a copy stopped in its chunks", true, kChunk, false, false},
      {"a place taken already", true, 0, true, false},
      {"a new file", false, 0, false, false},
      {"a read-only backup of a read-only source", true, 0, false, true, true},
  };
  const Bytes data = Pattern(3 * kChunk, 30), older = Pattern(100, 31), taken = Pattern(7, 32);
  const std::wstring keepAs = dir.Root() + L"\\versions\\run\\sub\\dst.bin";
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    if (dir.Exists(L"src.bin")) GiveAttributes(dir.Path(L"src.bin"), 0);
    std::filesystem::remove_all(FsPath(dir.Path(L"versions")));
    std::filesystem::remove(FsPath(dir.Path(L"dst.bin")));
    dir.Write(L"src.bin", data);
    if (row.older) dir.Write(L"dst.bin", older);
    if (row.readOnly) {
      GiveAttributes(dir.Path(L"src.bin"), kReadOnly);
      GiveAttributes(dir.Path(L"dst.bin"), kReadOnly);
    }
    if (row.placeTaken) {
      std::filesystem::create_directories(FsPath(dir.Path(L"versions/run/sub")));
      dir.Write(L"versions/run/sub/dst.bin", taken);
    }
    recorder.onProgress = [&](std::int64_t copy) {
      if (copy == row.stopAt) engine.CopyStop();
    };
    try {
      engine.CopyFile(dir.Path(L"src.bin"), dir.Path(L"dst.bin"), keepAs);
      EXPECT_FALSE(row.placeTaken);
    } catch (const cFileError& error) {
      EXPECT_TRUE(row.placeTaken) << mText::ToUtf8(error.Describe());
      EXPECT_EQ(error.Step(), CopyStep::ReplaceDestination);
    }
    const bool replaced = row.stopAt == 0 && !row.placeTaken;
    EXPECT_EQ(dir.Read(L"dst.bin"), replaced ? data : older);
    EXPECT_EQ(dir.Exists(L"versions"), row.kept || row.placeTaken) << "folders are made only for a backup kept";
    if (row.kept || row.placeTaken) {
      EXPECT_EQ(dir.Read(L"versions/run/sub/dst.bin"), row.kept ? older : taken);
    }
    if (row.readOnly) {
      EXPECT_EQ(KeptAttributesOf(dir.Path(L"versions/run/sub/dst.bin")) & kReadOnly, kReadOnly) << "kept as it was";
      for (const wchar_t* name : {L"src.bin", L"dst.bin", L"versions/run/sub/dst.bin"}) GiveAttributes(dir.Path(name), 0);
    }
    ExpectOnlyFiles(row.kept || row.placeTaken ? std::vector<std::wstring>{L"src.bin", L"dst.bin", L"versions"}
                                               : std::vector<std::wstring>{L"src.bin", L"dst.bin"});
  }
}

}  // namespace
