#include <gtest/gtest.h>

#include "mRunSummary.h"

namespace {

using Icon = mRunSummary::Message::Icon;

TEST(mRunSummary, ARunSaysDoneOnlyWhenNothingStoppedBrokeOrFailedIt) {
  const std::vector<mFailureReport::Failure> failed = {{L"E:\\a.txt", L"拒绝访问。"}};
  struct Row {
    const char* what;
    cRunOutcome outcome;
    std::vector<mFailureReport::Failure> failures;
    std::wstring brokenBy;
    std::wstring starts;
    Icon icon;
  };
  const Row rows[] = {
      {"all backed up", {3, 3, true, false, {}}, {}, L"", L"完成备份！", Icon::None},
      {"all backed up, a link left alone", {3, 3, true, false, {L"E:\\p\\link"}}, {}, L"", L"完成备份！\n\n有 1 个链接", Icon::Information},
      {"stopped", {5, 2, true, true, {}}, {}, L"", L"备份已停止。已备份 2 个文件，未备份 3 个文件。", Icon::Information},
      {"stopped while counting", {0, 0, false, true, {}}, {}, L"", L"备份已停止，没有复制任何文件。", Icon::Information},
      {"a file failed", {2, 1, true, false, {}}, failed, L"", L"有 1 个文件未能备份", Icon::Error},
      {"stopped with a failure", {5, 1, true, true, {}}, failed, L"", L"备份已停止。已备份 1 个文件，未备份 4 个文件。\n\n有 1 个文件未能备份", Icon::Error},
      {"broken by the window", {5, 1, true, true, {}}, {}, L"无法继续备份。", L"无法继续备份。\n\n备份已中断", Icon::Error},
  };
  for (const Row& row : rows) {
    const auto message = mRunSummary::Closing(row.outcome, row.failures, row.brokenBy);
    EXPECT_EQ(message.text.rfind(row.starts, 0), 0u) << row.what << ": " << testing::PrintToString(message.text);
    EXPECT_EQ(message.icon, row.icon) << row.what;
  }
  EXPECT_EQ(mRunSummary::Closing(rows[0].outcome, {}).text, L"完成备份！") << "exactly, and nothing after it";
}

}  // namespace

namespace {

TEST(mRunSummary, ARunRefusedForRoomEndedByAGoneDestinationOrWithReplacementsSkippedSaysSo) {
  cRunOutcome noRoom;
  noRoom.noRoom = true;
  noRoom.neededBytes = 3 << 20;
  noRoom.freeBytes = 512 << 10;
  cRunOutcome gone{5, 2, true, false, {}};
  gone.destinationGone = true;
  cRunOutcome skipped{25, 5, true, false, {}};
  skipped.replaceAnswer = cRunOutcome::Answer::Skip;
  skipped.skipped = 20;
  struct Row {
    const char* what;
    cRunOutcome outcome;
    std::wstring text;
    Icon icon;
  };
  const Row rows[] = {
      {"no room", noRoom, L"目标磁盘空间不足：需要 3.0 MB，可用 512.0 KB。没有复制任何文件。", Icon::Error},
      {"destination gone", gone, L"目标磁盘已不可用。已备份 2 个文件，未备份 3 个文件。已备份的文件没有改动。", Icon::Error},
      {"replacements skipped", skipped, L"没有替换 20 个已备份的文件，它们的备份保持原样；只复制了新文件。", Icon::Information},
  };
  for (const Row& row : rows) {
    const auto message = mRunSummary::Closing(row.outcome, {});
    EXPECT_EQ(message.text, row.text) << row.what;
    EXPECT_EQ(message.icon, row.icon) << row.what;
  }
}

}  // namespace
