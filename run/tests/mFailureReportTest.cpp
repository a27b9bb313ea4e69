#include <gtest/gtest.h>

#include "mFailureReport.h"

namespace {

cFileError SystemError(CopyStep step, std::uint32_t code, const wchar_t* text) {
  return cFileError(L"CreateFileW", L"E:\\a.txt", code, text, cFileError::Cause::System, step);
}

TEST(mFailureReport, ReasonsSayWhatFailedAndWhyInChinese) {
  EXPECT_EQ(mFailureReport::Reason(SystemError(CopyStep::MeasureSource, 2, L"File not found")),
            L"无法打开源文件：系统找不到指定的文件。（错误代码 2）");
  EXPECT_EQ(mFailureReport::Reason(SystemError(CopyStep::WriteDestination, 112, L"disk full")),
            L"写入目标文件失败：磁盘空间不足。（错误代码 112）");
  // An uncommon code keeps the system's own text.
  EXPECT_EQ(mFailureReport::Reason(SystemError(CopyStep::OpenDestination, 4390, L"Not a reparse point")),
            L"无法写入目标文件：Not a reparse point（错误代码 4390）");
  const cFileError changed(L"ReadFile", L"E:\\a.txt", 0, L"", cFileError::Cause::SourceChanged, CopyStep::ReadSource);
  EXPECT_EQ(mFailureReport::Reason(changed), L"源文件在备份时被修改。") << "with no step before it";
  const cFileError lied(L"ReadFile", L"F:\\~omb1-0.tmp", 0, L"", cFileError::Cause::VerifyFailed, CopyStep::VerifyDestination);
  EXPECT_EQ(mFailureReport::Reason(lied), L"目标文件校验失败：写入的内容与源文件不一致。");
}

TEST(mFailureReport, SummaryListsEveryFileUpToALimitThenCountsTheRest) {
  std::vector<mFailureReport::Failure> failures;
  for (int i = 1; i <= 3; ++i) failures.push_back({L"E:\\f" + std::to_wstring(i) + L".txt", L"why " + std::to_wstring(i)});
  const std::wstring all = mFailureReport::Summary(failures, 8);
  EXPECT_EQ(all.find(L"有 3 个文件未能备份："), 0u);
  for (int i = 1; i <= 3; ++i) {
    EXPECT_NE(all.find(L"E:\\f" + std::to_wstring(i) + L".txt\n    why " + std::to_wstring(i)), std::wstring::npos);
  }
  EXPECT_EQ(all.find(L"另有"), std::wstring::npos);

  const std::wstring cut = mFailureReport::Summary(failures, 2);
  EXPECT_NE(cut.find(L"f2.txt"), std::wstring::npos);
  EXPECT_EQ(cut.find(L"f3.txt"), std::wstring::npos);
  EXPECT_NE(cut.find(L"……另有 1 个文件未能备份。"), std::wstring::npos);
}

TEST(mFailureReport, LinksNoteNamesEveryLinkNotFollowedUpToALimit) {
  const std::wstring note = mFailureReport::LinksNote({L"E:\\photos\\link", L"E:\\photos\\sub\\junction"}, 1);
  EXPECT_EQ(note.find(L"有 2 个链接"), 0u);
  EXPECT_NE(note.find(L"\nE:\\photos\\link"), std::wstring::npos);
  EXPECT_EQ(note.find(L"junction"), std::wstring::npos);
  EXPECT_NE(note.find(L"另有 1 个链接"), std::wstring::npos);
}

}  // namespace
