// The copy engine between two slow devices (the device rig that test.sh mounts): the source is
// read ahead while the destination is written, and none of that shows to the listener.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "CopyRecorder.h"
#include "cCopyFile.h"
#include "cFileError.h"
#include "cTestDir.h"

namespace fs = std::filesystem;

namespace {

constexpr std::int32_t kChunk = 256 * 1024;
const Bytes kOlder = Pattern(1000, 7);  // the backup each copy replaces

// What a copy left behind and told its listener.
struct Outcome {
  std::vector<CopyEvent> events;
  Bytes destination;  // empty when there is none
  std::vector<std::wstring> names;  // the destination folder's
  bool operator==(const Outcome&) const = default;
};

std::vector<std::wstring> SortedNames(const cTestDir& dir, const std::wstring& folder) {
  std::vector<std::wstring> names;
  for (const auto& entry : fs::directory_iterator(FsPath(dir.Path(folder))))
    names.push_back(WidePath(entry.path().filename()));
  std::sort(names.begin(), names.end());
  return names;
}

// A name inside a folder of a cTestDir, with the platform's separator.
std::wstring In(const std::wstring& folder, const std::wstring& name) { return WidePath(FsPath(folder) / FsPath(name)); }

// Copies src.bin to dst/dst.bin inside dir, over an older backup, with action run in every
// progress event.
Outcome CopyIn(const cTestDir& dir, const Bytes& data, std::int32_t chunk,
               const std::function<void(cCopyFile&, std::int64_t)>& action) {
  dir.Write(L"src.bin", data);
  fs::create_directory(FsPath(dir.Path(L"dst")));
  dir.Write(In(L"dst", L"dst.bin"), kOlder);
  CopyRecorder recorder;
  cCopyFile engine(&recorder);
  engine.BufferSize(chunk);
  recorder.onProgress = [&](std::int64_t copy) { action(engine, copy); };
  engine.CopyFile(dir.Path(L"src.bin"), dir.Path(In(L"dst", L"dst.bin")));
  return {recorder.events, dir.Read(In(L"dst", L"dst.bin")), SortedNames(dir, L"dst")};
}

class CopyRigTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!rig.Valid()) GTEST_SKIP() << "OMB_TEST_RIG_DIR (the device rig, mounted by test.sh) is not set";
  }
  cTestDir rig{"OMB_TEST_RIG_DIR", cTestDir::Fresh{}};
};

TEST_F(CopyRigTest, CopiesBetweenSlowDevicesExactlyWithTheEventsOfAPlainFolder) {
  struct Case {
    const char* name;
    std::int32_t chunk;
    std::size_t length;
    std::function<void(cCopyFile&, std::int64_t)> action;
    bool whole;
  } cases[] = {
      {"many chunks, a short last one", kChunk, 12 * kChunk + 5, [](cCopyFile&, std::int64_t) {}, true},
      // Flushed on the way at 32 and 64 MiB, each part read back while the next is written.
      {"the window's chunk size", 0x400000, (70 << 20) + 5, [](cCopyFile&, std::int64_t) {}, true},
      {"stopped while a part is read back", 0x400000, 48 << 20,
       [](cCopyFile& engine, std::int64_t copy) { if (copy == 36 << 20) engine.CopyStop(); }, false},
      {"chunk size changed by the listener", kChunk, 9 * kChunk,
       [](cCopyFile& engine, std::int64_t copy) { engine.BufferSize(copy == kChunk ? 100000 : 3 * kChunk); }, true},
      {"stopped in the middle", kChunk, 12 * kChunk,
       [](cCopyFile& engine, std::int64_t copy) { if (copy == 5 * kChunk) engine.CopyStop(); }, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes data = Pattern(c.length, static_cast<std::uint32_t>(c.length));
    cTestDir plain;
    const Outcome expected = CopyIn(plain, data, c.chunk, c.action);
    const Outcome actual = CopyIn(rig, data, c.chunk, c.action);
    EXPECT_EQ(actual.events, expected.events);
    EXPECT_TRUE(actual.destination == expected.destination) << "the destinations differ";
    EXPECT_EQ(actual.names, expected.names);
    EXPECT_TRUE(actual.destination == (c.whole ? data : kOlder)) << "whole copy or untouched older backup";
    EXPECT_EQ(actual.names, std::vector<std::wstring>{L"dst.bin"}) << "no temporary file is left";
  }
}

TEST_F(CopyRigTest, AReadOrWriteFailureInTheMiddleKeepsTheOldBackupAndLeavesNoTemporaryFile) {
  // test.sh has the rig fail reads of "read-fails" files and writes into "write-fails" folders
  // from 1 MiB on, and lie from there on: drop writes into "drops-writes" folders and alter
  // what "flips-reads" folders give back. A lie shows only when the copy is read back.
  constexpr std::int64_t kFailsFrom = 1 << 20;
  constexpr std::int64_t kLength = 16 * kChunk;
  constexpr std::int64_t kLarge = 40 << 20;  // beyond the first flush on the way, at 32 MiB
  struct Case {
    const char* name;
    std::wstring source;
    std::wstring folder;
    CopyStep step;
    std::int64_t toldUpTo;  // the last progress event
    std::int64_t length = kLength;
  } cases[] = {
      {"read fails", L"read-fails.bin", L"dst", CopyStep::ReadSource, kFailsFrom},
      {"write fails", L"src.bin", L"write-fails", CopyStep::WriteDestination, kFailsFrom},
      {"writes dropped", L"src.bin", L"drops-writes", CopyStep::VerifyDestination, kLength},
      {"read back altered", L"src.bin", L"flips-reads", CopyStep::VerifyDestination, kLength},
      // Parts flushed before the end are read back while the rest is written.
      {"read back altered, past a part flushed on the way", L"large.bin", L"flips-reads", CopyStep::VerifyDestination,
       kLarge, kLarge},
  };
  const Bytes older = Pattern(5000, 3);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    rig.Write(c.source, Pattern(static_cast<std::size_t>(c.length)));
    fs::create_directory(FsPath(rig.Path(c.folder)));
    const std::wstring destination = In(c.folder, L"old.bin");
    rig.Write(destination, older);
    CopyRecorder recorder;
    cCopyFile engine(&recorder);
    engine.BufferSize(kChunk);
    try {
      engine.CopyFile(rig.Path(c.source), rig.Path(destination));
      ADD_FAILURE() << "the copy did not fail";
    } catch (const cFileError& error) {
      EXPECT_EQ(error.Step(), c.step) << error.what();
      const bool lied = c.step == CopyStep::VerifyDestination;
      EXPECT_EQ(error.Code() != 0u, !lied) << error.what();
      if (lied) {
        EXPECT_EQ(error.Reason(), cFileError::Cause::VerifyFailed);
      }
    }
    // Every chunk before the failure was written and told, in order; nothing after it.
    std::vector<CopyEvent> expected;
    for (std::int64_t copy = kChunk; copy <= c.toldUpTo; copy += kChunk) expected.push_back(Progress(copy, c.length));
    EXPECT_EQ(recorder.events, expected);
    EXPECT_EQ(rig.Read(destination), older);
    EXPECT_EQ(SortedNames(rig, c.folder), std::vector<std::wstring>{L"old.bin"});
  }
}

}  // namespace
