#include <gtest/gtest.h>

#include "cRunProgress.h"

namespace {

using namespace std::chrono_literals;
const cRunProgress::Clock::time_point t0{};

// Three files of 100, 0 and 300 bytes, followed through a run; a step is
// {file begun (bytes) or -1, copied of the current file, seconds since the start}.
TEST(cRunProgress, FollowsTheWholeRunAndEstimatesTheTimeLeftOnceItCan) {
  struct Step {
    std::int64_t beginFile;
    std::int64_t copied;
    int second;
    const wchar_t* caption;
    const wchar_t* title;
  };
  const Step steps[] = {
      {100, 0, 0, L"备份进度：1/3 0%", L"0% OmbrivoBeta"},
      {-1, 50, 0, L"备份进度：1/3 12%", L"12% OmbrivoBeta"},  // too soon to tell the time left
      {-1, 100, 2, L"备份进度：1/3 25% 剩余 0:06", L"25% OmbrivoBeta"},
      {0, 0, 2, L"备份进度：2/3 25% 剩余 0:06", L"25% OmbrivoBeta"},
      {300, 150, 4, L"备份进度：3/3 62% 剩余 0:02", L"62% OmbrivoBeta"},
      {-1, 5000, 5, L"备份进度：3/3 100% 剩余 0:00", L"100% OmbrivoBeta"},  // a file that grew
  };
  cRunProgress run(3, 400, t0);
  for (const Step& step : steps) {
    if (step.beginFile >= 0) run.BeginFile(step.beginFile);
    run.FileProgress(step.copied);
    const auto now = t0 + std::chrono::seconds(step.second);
    EXPECT_EQ(run.Caption(now, true), step.caption);
    EXPECT_EQ(run.Title(L"OmbrivoBeta"), step.title);
  }
  EXPECT_EQ(run.Caption(t0 + 5s, false), L"备份进度：3/3 100%");
}

TEST(cRunProgress, EdgesOfTheCountsAndTheClock) {
  cRunProgress empty(2, 0, t0);  // files with no bytes: by files
  empty.BeginFile(0);
  EXPECT_EQ(empty.Percent(), 0);
  empty.BeginFile(0);
  EXPECT_EQ(empty.Percent(), 50);
  EXPECT_EQ(cRunProgress(0, 0, t0).Percent(), 100);

  cRunProgress failed(2, 1000, t0);  // a failed file counts as gone by
  failed.BeginFile(600);
  failed.FileProgress(10);
  failed.BeginFile(400);
  EXPECT_EQ(failed.Percent(), 60);

  const std::int64_t huge = std::int64_t{1} << 62;  // no overflow, and 100 only at the end
  cRunProgress big(1, huge, t0);
  big.BeginFile(huge);
  big.FileProgress(huge - 1);
  EXPECT_EQ(big.Percent(), 99);
  big.FileProgress(huge);
  EXPECT_EQ(big.Percent(), 100);

  cRunProgress grown(1, 100, t0);  // a file more than was counted
  grown.BeginFile(100);
  grown.FileProgress(100);
  grown.BeginFile(100);
  EXPECT_EQ(grown.Caption(t0, false), L"备份进度：2/2 50%");

  cRunProgress slow(1, 3600 * 2 + 100, t0);  // hours read h:mm:ss
  slow.BeginFile(3600 * 2 + 100);
  slow.FileProgress(50);
  EXPECT_EQ(slow.Caption(t0 + 50s, true), L"备份进度：1/1 0% 剩余 2:00:50");
}

}  // namespace
