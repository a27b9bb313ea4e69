// Several small copies at once: each ends as a copy of its own would, the results come in the
// order the copies were launched, and a stop reaches every copy in flight.
#include <gtest/gtest.h>

#include <algorithm>

#include "cCopyFlight.h"
#include "cFileError.h"
#include "cTestDir.h"

namespace {

using End = cCopyFlight::Result::End;
constexpr std::int32_t kChunk = 4096;

class CopyFlightTest : public testing::Test {
 protected:
  CopyFlightTest() { model.BufferSize(kChunk); }

  cCopyFlight::Result TakeOldest(cCopyFlight& flight) {
    for (;;)
      if (auto result = flight.TakeOldest(std::chrono::milliseconds(20))) return *result;
  }

  cTestDir dir;
  cCopyFile model;
};

TEST_F(CopyFlightTest, ResultsComeInLaunchOrderEachEndedAsItsOwnCopyWouldBe) {
  struct Row {
    const wchar_t* name;
    std::size_t bytes;
    bool source;  // there to read
    bool older;   // an older backup there, kept as a version
    End end;
  };
  const Row rows[] = {
      {L"new.bin", 3000, true, false, End::Copied},    {L"missing.bin", 10, false, false, End::Failed},
      {L"replaced.bin", 4096, true, true, End::Copied}, {L"empty.bin", 0, true, false, End::Copied},
      {L"fifth.bin", 1, true, true, End::Copied},      {L"gone.bin", 10, false, true, End::Failed},
  };
  cCopyFlight flight(model);
  EXPECT_FALSE(flight.Takes(cCopyFlight::kLargestFile + 1)) << "a large file goes alone";
  std::vector<cCopyFlight::Result> results;
  for (const Row& row : rows) {
    if (row.source) dir.Write(std::wstring(L"src-") + row.name, Pattern(row.bytes, 1));
    if (row.older) dir.Write(row.name, Pattern(7, 2));
    if (!flight.Takes(static_cast<std::int64_t>(row.bytes))) {
      EXPECT_EQ(flight.InFlight(), cCopyFlight::kLanes);
      results.push_back(TakeOldest(flight));
    }
    flight.Launch(dir.Path(std::wstring(L"src-") + row.name), dir.Path(row.name), dir.Path(std::wstring(L"kept-") + row.name));
  }
  while (flight.InFlight() > 0) results.push_back(TakeOldest(flight));
  ASSERT_EQ(results.size(), std::size(rows));
  for (std::size_t i = 0; i < results.size(); ++i) {
    const Row& row = rows[i];
    SCOPED_TRACE(testing::Message() << "row " << i);
    EXPECT_EQ(results[i].end, row.end);
    if (row.end == End::Copied) {
      EXPECT_EQ(results[i].bytes, static_cast<std::int64_t>(row.bytes));
      EXPECT_EQ(dir.Read(row.name), Pattern(row.bytes, 1));
    } else {
      EXPECT_THROW(std::rethrow_exception(results[i].failure), cFileError);
      EXPECT_EQ(dir.Exists(row.name), row.older);
    }
    if (row.older && row.end == End::Copied) {
      EXPECT_EQ(dir.Read(std::wstring(L"kept-") + row.name), Pattern(7, 2));
    }
  }
  const auto names = dir.Names();
  EXPECT_TRUE(std::none_of(names.begin(), names.end(), [](const std::wstring& n) { return n.ends_with(L".tmp"); }));
}

// Stopped while in flight, each copy is either whole or gone with its older backup kept; one
// launched after the stop touches nothing.
TEST_F(CopyFlightTest, AStopLeavesEveryFileInFlightWholeOrAsItWas) {
  cCopyFlight flight(model, 3);
  const std::wstring names[] = {L"a.bin", L"b.bin", L"c.bin"};
  for (const auto& name : names) {
    dir.Write(L"src-" + name, Pattern(kChunk, 3));
    dir.Write(name, Pattern(9, 4));
    flight.Launch(dir.Path(L"src-" + name), dir.Path(name));
  }
  flight.Stop();
  for (const auto& name : names) {
    SCOPED_TRACE(name);
    const cCopyFlight::Result result = TakeOldest(flight);
    ASSERT_NE(result.end, End::Failed);
    EXPECT_EQ(dir.Read(name), result.end == End::Copied ? Pattern(kChunk, 3) : Pattern(9, 4));
  }
  dir.Write(L"src-late.bin", Pattern(5, 5));
  flight.Launch(dir.Path(L"src-late.bin"), dir.Path(L"late.bin"));
  EXPECT_EQ(TakeOldest(flight).end, End::Stopped);
  EXPECT_FALSE(dir.Exists(L"late.bin"));
  EXPECT_EQ(dir.Names().size(), 7u) << "three sources, three backups, the late source: no temporary file";
}

}  // namespace
