// The copy engine when things go wrong: nothing that existed is lost, no temporary file stays.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>

#include "CopyRecorder.h"
#include "cCopyFile.h"
#include "cFileError.h"
#include "cTestDir.h"
#include "mFileSys.h"

#ifdef _WIN32
#include <windows.h>
constexpr std::uint32_t kNotFound = ERROR_FILE_NOT_FOUND;
constexpr std::uint32_t kFolderNotFound = ERROR_PATH_NOT_FOUND;
constexpr std::uint32_t kIsFolder = ERROR_ACCESS_DENIED;
#else
#include <cerrno>
constexpr std::uint32_t kNotFound = ENOENT;
constexpr std::uint32_t kFolderNotFound = ENOENT;
constexpr std::uint32_t kIsFolder = EISDIR;
#endif

namespace fs = std::filesystem;

namespace {

constexpr std::int32_t kChunk = 4096;

// Runs a copy that must fail and returns its error.
cFileError CopyError(cCopyFile& engine, const std::wstring& from, const std::wstring& to) {
  try {
    engine.CopyFile(from, to);
  } catch (const cFileError& error) {
    return error;
  }
  ADD_FAILURE() << "the copy did not fail";
  return cFileError(L"", L"", 0, L"");
}

std::vector<std::wstring> Sorted(std::vector<std::wstring> names) {
  std::sort(names.begin(), names.end());
  return names;
}

class CopyFaultTest : public testing::Test {
 protected:
  CopyFaultTest() { engine.BufferSize(kChunk); }
  cTestDir dir;
  CopyRecorder recorder;
  cCopyFile engine{&recorder};
};

TEST_F(CopyFaultTest, MissingSourceFailsWithoutEventsOrDestination) {
  const cFileError error = CopyError(engine, dir.Path(L"missing.bin"), dir.Path(L"dst.bin"));
  EXPECT_EQ(error.Step(), CopyStep::OpenSource);
  EXPECT_EQ(error.Code(), kNotFound);
  EXPECT_EQ(error.Path(), dir.Path(L"missing.bin"));
  EXPECT_FALSE(error.SystemText().empty());
  EXPECT_NE(std::string(error.what()).find("open source"), std::string::npos) << error.what();
  EXPECT_TRUE(recorder.events.empty());
  EXPECT_TRUE(dir.Names().empty()) << "no destination and no temporary file";

  const Bytes older = Pattern(77);
  dir.Write(L"dst.bin", older);
  CopyError(engine, dir.Path(L"missing.bin"), dir.Path(L"dst.bin"));
  EXPECT_EQ(dir.Read(L"dst.bin"), older);
  EXPECT_EQ(dir.Names().size(), 1u);
}

TEST_F(CopyFaultTest, UnusableDestinationsFailBeforeAnythingIsWritten) {
  dir.Write(L"src.bin", Pattern(kChunk));
  fs::create_directory(FsPath(dir.Path(L"folder")));
  struct Case {
    const char* name;
    std::wstring destination;
    std::uint32_t code;
  } cases[] = {
      {"folder missing", WidePath(FsPath(dir.Path(L"no such folder")) / "dst.bin"), kFolderNotFound},
      {"a folder of that name", dir.Path(L"folder"), kIsFolder},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const cFileError error = CopyError(engine, dir.Path(L"src.bin"), c.destination);
    EXPECT_EQ(error.Step(), CopyStep::OpenDestination);
    EXPECT_EQ(error.Code(), c.code) << error.what();
    EXPECT_TRUE(recorder.events.empty());
  }
  EXPECT_EQ(Sorted(dir.Names()), (std::vector<std::wstring>{L"folder", L"src.bin"}));
  EXPECT_TRUE(fs::is_empty(FsPath(dir.Path(L"folder"))));
}

#ifdef _WIN32
TEST_F(CopyFaultTest, InvalidNamesAndReadOnlyFilesFailBeforeAnythingIsWritten) {
  dir.Write(L"src.bin", Pattern(kChunk));
  EXPECT_EQ(CopyError(engine, dir.Path(L"src.bin"), dir.Path(L"bad?name|.bin")).Step(),
            CopyStep::OpenDestination);
  const Bytes older = Pattern(10, 4);
  dir.Write(L"locked.bin", older);
  ASSERT_TRUE(SetFileAttributesW(dir.Path(L"locked.bin").c_str(), FILE_ATTRIBUTE_READONLY));
  const cFileError error = CopyError(engine, dir.Path(L"src.bin"), dir.Path(L"locked.bin"));
  EXPECT_EQ(error.Step(), CopyStep::OpenDestination);
  EXPECT_EQ(error.Code(), static_cast<std::uint32_t>(ERROR_ACCESS_DENIED));
  SetFileAttributesW(dir.Path(L"locked.bin").c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(dir.Read(L"locked.bin"), older);
  EXPECT_EQ(Sorted(dir.Names()), (std::vector<std::wstring>{L"locked.bin", L"src.bin"}));
}
#endif

TEST_F(CopyFaultTest, InvalidChunkSizeFailsBeforeTheFirstReadAndKeepsTheOldBackup) {
  dir.Write(L"src.bin", Pattern(kChunk));
  const Bytes older = Pattern(33, 2);
  dir.Write(L"dst.bin", older);
  for (std::int32_t size : {0, -1, -4096}) {
    SCOPED_TRACE(size);
    engine.BufferSize(size);
    const cFileError error = CopyError(engine, dir.Path(L"src.bin"), dir.Path(L"dst.bin"));
    EXPECT_EQ(error.Reason(), cFileError::Cause::InvalidChunkLength);
    EXPECT_EQ(dir.Read(L"dst.bin"), older);
    EXPECT_EQ(dir.Names().size(), 2u);
  }
  EXPECT_TRUE(recorder.events.empty());
  dir.Write(L"empty.bin", {});
  engine.CopyFile(dir.Path(L"empty.bin"), dir.Path(L"dst.bin"));
  EXPECT_TRUE(dir.Read(L"dst.bin").empty()) << "an empty source copies with any chunk size";
}

TEST_F(CopyFaultTest, SourceThatShrinksDuringTheCopyFailsAndKeepsTheOldBackup) {
  dir.Write(L"src.bin", Pattern(4 * kChunk));
  const Bytes older = Pattern(20, 6);
  dir.Write(L"dst.bin", older);
  // Shrinks during the copy and again during the one retry.
  const std::uintmax_t cuts[] = {kChunk + 10, kChunk + 5};
  std::size_t cut = 0;
  recorder.onProgress = [&](std::int64_t) { fs::resize_file(FsPath(dir.Path(L"src.bin")), cuts[cut++]); };
  const cFileError error = CopyError(engine, dir.Path(L"src.bin"), dir.Path(L"dst.bin"));
  EXPECT_EQ(error.Reason(), cFileError::Cause::SourceChanged);
  EXPECT_EQ(error.Step(), CopyStep::ReadSource);
  EXPECT_EQ(recorder.events, (std::vector<CopyEvent>{Progress(kChunk, 4 * kChunk), Progress(kChunk, kChunk + 10)}))
      << "no short chunk is written or reported";
  EXPECT_EQ(dir.Read(L"dst.bin"), older);
  EXPECT_EQ(dir.Names().size(), 2u);
}

// Overwrites a file where it is, leaving its length, and dates it explicitly.
void RewriteInPlace(const std::wstring& path, std::uint32_t seed, fs::file_time_type time) {
  {
    std::fstream file(FsPath(path), std::ios::in | std::ios::out | std::ios::binary);
    const Bytes data = Pattern(static_cast<std::size_t>(fs::file_size(FsPath(path))), seed);
    file.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  }
  fs::last_write_time(FsPath(path), time);
}

std::vector<CopyEvent> EventsOfAWholeCopy(std::int64_t length) {
  std::vector<CopyEvent> events;
  for (std::int64_t copy = kChunk; copy < length + kChunk; copy += kChunk) events.push_back(Progress(std::min(copy, length), length));
  events.push_back(Complete(length));
  return events;
}

// How many times a copy began: its first chunk is reported once per attempt.
std::ptrdiff_t FirstChunks(const std::vector<CopyEvent>& events) {
  return std::count_if(events.begin(), events.end(),
                       [](const CopyEvent& e) { return e.kind == CopyEvent::Progress && e.copyBytes == kChunk; });
}

TEST_F(CopyFaultTest, ASourceWrittenToDuringItsCopyIsCopiedOnceMoreThenFails) {
  // Several read-ahead pieces long, so that a change can land between pieces read.
  constexpr std::int64_t kLength = 40 * kChunk;
  constexpr std::int64_t kShrunk = 25 * kChunk + 3;
  const auto lastYear = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);
  const auto lastMonth = std::chrono::floor<std::chrono::seconds>(fs::file_time_type::clock::now() - std::chrono::hours(24 * 30));
  enum class Change { Rewrite, Shrink };
  struct Case {
    const char* name;
    Change change;
    int changedAttempts;  // changed during the first this many attempts
    bool copied;
  } cases[] = {
      {"rewritten in place during the first attempt", Change::Rewrite, 1, true},
      {"rewritten in place during every attempt", Change::Rewrite, 99, false},
      {"shrunk during the first attempt", Change::Shrink, 1, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    recorder.events.clear();
    dir.Write(L"src.bin", Pattern(kLength, 1));
    const Bytes older = Pattern(300, 7);
    dir.Write(L"dst.bin", older);
    fs::last_write_time(FsPath(dir.Path(L"dst.bin")), lastYear);
    const auto olderTime = fs::last_write_time(FsPath(dir.Path(L"dst.bin")));
    int changes = 0;
    recorder.onProgress = [&](std::int64_t copy) {
      if (copy != kChunk || changes == c.changedAttempts) return;  // the first chunk of an attempt
      ++changes;
      if (c.change == Change::Shrink) fs::resize_file(FsPath(dir.Path(L"src.bin")), kShrunk);
      else RewriteInPlace(dir.Path(L"src.bin"), 100u + static_cast<std::uint32_t>(changes), lastMonth + std::chrono::hours(changes));
    };
    if (c.copied) {
      engine.CopyFile(dir.Path(L"src.bin"), dir.Path(L"dst.bin"));
      EXPECT_EQ(changes, 1);
      EXPECT_TRUE(dir.Read(L"dst.bin") == dir.Read(L"src.bin")) << "only the bytes of the source as it is now";
      const auto sourceTime = fs::last_write_time(FsPath(dir.Path(L"src.bin")));
      if (c.change == Change::Rewrite) {
        EXPECT_EQ(sourceTime, lastMonth + std::chrono::hours(1));
      }
      EXPECT_EQ(fs::last_write_time(FsPath(dir.Path(L"dst.bin"))), sourceTime);
      const std::int64_t length = c.change == Change::Shrink ? kShrunk : kLength;
      // The retry reports again from the first chunk, and the copy completes once.
      const std::vector<CopyEvent> retry = EventsOfAWholeCopy(length);
      ASSERT_GE(recorder.events.size(), retry.size());
      EXPECT_TRUE(std::equal(retry.begin(), retry.end(), recorder.events.end() - static_cast<std::ptrdiff_t>(retry.size())));
      EXPECT_EQ(FirstChunks(recorder.events), 2);
      EXPECT_EQ(std::count(recorder.events.begin(), recorder.events.end(), Complete(length)), 1);
    } else {
      const cFileError error = CopyError(engine, dir.Path(L"src.bin"), dir.Path(L"dst.bin"));
      EXPECT_EQ(error.Reason(), cFileError::Cause::SourceChanged) << error.what();
      EXPECT_EQ(changes, 2) << "copied once more, and no more";
      EXPECT_EQ(FirstChunks(recorder.events), 2);
      EXPECT_TRUE(std::none_of(recorder.events.begin(), recorder.events.end(),
                               [](const CopyEvent& e) { return e.kind == CopyEvent::Complete; }));
      EXPECT_EQ(dir.Read(L"dst.bin"), older);
      EXPECT_EQ(fs::last_write_time(FsPath(dir.Path(L"dst.bin"))), olderTime);
    }
    EXPECT_EQ(Sorted(dir.Names()), (std::vector<std::wstring>{L"dst.bin", L"src.bin"})) << "no temporary file";
  }
}

TEST_F(CopyFaultTest, ListenerErrorLeavesNoTemporaryFile) {
  dir.Write(L"src.bin", Pattern(3 * kChunk));
  recorder.onProgress = [&](std::int64_t) { throw std::runtime_error("listener failed"); };
  EXPECT_THROW(engine.CopyFile(dir.Path(L"src.bin"), dir.Path(L"dst.bin")), std::runtime_error);
  EXPECT_EQ(dir.Names(), std::vector<std::wstring>{L"src.bin"});
}

TEST_F(CopyFaultTest, TemporaryNamesTakenBySomeoneElseAreSkippedAndLeftAlone) {
  // The next names the engine will try, each already held by a file of another owner.
  const std::wstring probe = mFileSys::TemporaryNameBeside(dir.Path(L"dst.bin"));
  const std::size_t dash = probe.rfind(L'-');
  const std::wstring stem = probe.substr(0, dash + 1);
  const unsigned next = static_cast<unsigned>(std::stoul(probe.substr(dash + 1))) + 1;
  std::vector<std::wstring> expected{L"dst.bin", L"src.bin"};
  for (unsigned n = next; n < next + 5; ++n) {
    const std::wstring path = stem + std::to_wstring(n) + L".tmp";
    const std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
    dir.Write(name, Pattern(100 + n, n));
    expected.push_back(name);
  }
  const Bytes source = Pattern(3 * kChunk + 5);
  dir.Write(L"src.bin", source);
  engine.CopyFile(dir.Path(L"src.bin"), dir.Path(L"dst.bin"));
  EXPECT_EQ(dir.Read(L"dst.bin"), source);
  EXPECT_EQ(Sorted(dir.Names()), Sorted(expected)) << "no other file made or removed";
  for (unsigned n = next; n < next + 5; ++n) {
    const std::wstring path = stem + std::to_wstring(n) + L".tmp";
    EXPECT_EQ(dir.Read(path.substr(path.find_last_of(L"\\/") + 1)), Pattern(100 + n, n)) << n;
  }
}

TEST_F(CopyFaultTest, FullDiskFailsAndKeepsTheOldBackup) {
  cTestDir tiny("OMB_TEST_TINY_DIR");
  if (!tiny.Valid()) GTEST_SKIP() << "OMB_TEST_TINY_DIR (a small mounted file system) is not set";
  const Bytes older = Pattern(1000, 3);
  tiny.Write(L"dst.bin", older);
  dir.Write(L"src.bin", Pattern(1 << 20));  // four times the tiny file system
  const cFileError error = CopyError(engine, dir.Path(L"src.bin"), tiny.Path(L"dst.bin"));
  EXPECT_TRUE(error.Step() == CopyStep::WriteDestination || error.Step() == CopyStep::FlushDestination)
      << error.what();
  EXPECT_NE(error.Code(), 0u);
  EXPECT_EQ(tiny.Read(L"dst.bin"), older);
  EXPECT_EQ(tiny.Names(), std::vector<std::wstring>{L"dst.bin"});
  fs::remove(FsPath(tiny.Path(L"dst.bin")));
}

TEST_F(CopyFaultTest, ReadOnlyDestinationFolderFailsBeforeAnythingIsWritten) {
  cTestDir readOnly("OMB_TEST_READONLY_DIR");
  if (!readOnly.Valid()) GTEST_SKIP() << "OMB_TEST_READONLY_DIR (a read-only file system) is not set";
  dir.Write(L"src.bin", Pattern(kChunk));
  const cFileError error = CopyError(engine, dir.Path(L"src.bin"), readOnly.Path(L"dst.bin"));
  EXPECT_TRUE(error.Step() == CopyStep::OpenDestination || error.Step() == CopyStep::CreateTemporary)
      << error.what();
  EXPECT_TRUE(recorder.events.empty());
  EXPECT_TRUE(readOnly.Names().empty());
}

TEST_F(CopyFaultTest, SparseSourceBeyondTwoGibibytesCopiesWithSixtyFourBitCounts) {
  const std::int64_t length = (std::int64_t{1} << 31) + 4097;
  const Bytes tail = Pattern(4097, 11);
  {
    std::ofstream out(FsPath(dir.Path(L"big.bin")), std::ios::binary);
    out.seekp(length - static_cast<std::int64_t>(tail.size()));
    out.write(reinterpret_cast<const char*>(tail.data()), static_cast<std::streamsize>(tail.size()));
  }
  ASSERT_EQ(static_cast<std::int64_t>(fs::file_size(FsPath(dir.Path(L"big.bin")))), length);
  engine.BufferSize(0x400000);
  engine.CopyFile(dir.Path(L"big.bin"), dir.Path(L"copy.bin"));
  ASSERT_EQ(recorder.events.size(), 514u);  // 512 full chunks, one short one, Complete
  EXPECT_EQ(recorder.events[511], Progress(std::int64_t{1} << 31, length));
  EXPECT_EQ(recorder.events[512], Progress(length, length));
  EXPECT_EQ(recorder.events[513], Complete(length));
  EXPECT_EQ(static_cast<std::int64_t>(fs::file_size(FsPath(dir.Path(L"copy.bin")))), length);
  std::ifstream in(FsPath(dir.Path(L"copy.bin")), std::ios::binary);
  in.seekg(length - static_cast<std::int64_t>(tail.size()) - 1);
  Bytes read(tail.size() + 1);
  in.read(reinterpret_cast<char*>(read.data()), static_cast<std::streamsize>(read.size()));
  EXPECT_EQ(read[0], std::byte{0});
  EXPECT_EQ(Bytes(read.begin() + 1, read.end()), tail);
}

}  // namespace
