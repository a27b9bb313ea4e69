#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cRunLog.h"
#include "cTestDir.h"
#include "mText.h"

namespace {

using Result = cBackupRunEvents::FileResult;

std::string Read(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(cRunLog, TheHeaderCarriesTheTotalsAndEachFileHasALine) {
  cRunLog log(L"unused", L"D:\\备份", cRunLog::Clock::now());
  log.File(L"E:\\a.txt", Result::Copied, {});
  log.File(L"E:\\b.txt", Result::Unchanged, {});
  log.File(L"E:\\照片\\c.jpg", Result::Failed, L"拒绝访问。");
  cRunOutcome outcome;
  outcome.files = 3;
  outcome.backedUp = 2;
  outcome.counted = true;
  outcome.links = {L"E:\\照片\\link\\"};
  const std::wstring text = mText::FromUtf8(log.Text(outcome, {}, cRunLog::Clock::now()));
  const struct {
    const char* name;
    std::wstring expected;
  } rows[] = {
      {"byte order mark first", L"\uFEFFOmbrivoBeta 备份日志\r\n开始时间："},
      {"destination", L"\r\n备份到：D:\\备份\r\n"},
      {"result", L"\r\n结果：有文件未能备份\r\n"},
      {"totals", L"共 3 个文件：已复制 1，未改变 1，失败 1，链接未跟随 1\r\n\r\n"},
      {"copied", L"\r\n已复制\tE:\\a.txt\r\n"},
      {"unchanged", L"\r\n未改变\tE:\\b.txt\r\n"},
      {"failed with its reason", L"\r\n失败\tE:\\照片\\c.jpg\t拒绝访问。\r\n"},
      {"link", L"\r\n链接未跟随\tE:\\照片\\link\\\r\n"},
  };
  for (const auto& row : rows) EXPECT_NE(text.find(row.expected), std::wstring::npos) << row.name << "\n" << mText::ToUtf8(text);

  outcome.stopped = true;
  EXPECT_NE(mText::FromUtf8(log.Text(outcome, {}, {})).find(L"结果：备份已停止"), std::wstring::npos);
  EXPECT_NE(mText::FromUtf8(log.Text(outcome, L"磁盘已满。", {})).find(L"结果：备份已中断：磁盘已满。"), std::wstring::npos);
  outcome.stopped = false;
  outcome.replacements = outcome.skipped = 25;
  outcome.replaceAnswer = cRunOutcome::Answer::Skip;
  EXPECT_NE(mText::FromUtf8(log.Text(outcome, {}, {})).find(L"结果：将替换 25 个已备份的文件，源文件可能已损坏或被加密。没有替换 25 个"),
            std::wstring::npos)
      << "the reason an unattended run held its replacements back";
}

TEST(cRunLog, ARunThatCouldNotBeginIsLoggedWithItsReasonAlone) {
  const auto now = cRunLog::Clock::now();
  const std::wstring text = mText::FromUtf8(cRunLog(L"unused", L"D:\\备份\U0001F4BE", now).NotRunText(L"参数错误。\n命令行：x", now));
  EXPECT_NE(text.find(L"\r\n备份到：D:\\备份\U0001F4BE\r\n结果：无法备份：参数错误。\r\n命令行：x\r\n"), std::wstring::npos)
      << mText::ToUtf8(text);
  EXPECT_EQ(text.find(L"共 "), std::wstring::npos) << "no totals: nothing was counted";
}

TEST(cRunLog, ALogOfManyLinesKeepsThemAllInOrderAndLeavesNoOtherFile) {
  cTestDir dir;
  const auto now = cRunLog::Clock::now();
  std::wstring path;
  {
    cRunLog log(dir.Root(), L"D:\\", now);
    for (int i = 0; i < 5000; ++i) log.File(L"E:\\照片\\" + std::to_wstring(i) + L".jpg", Result::Copied, {});
    cRunOutcome outcome;
    outcome.files = 5000;
    path = log.Write(outcome, {}, now);
  }
  const std::string text = Read(FsPath(dir.Root()) / FsPath(path.substr(path.find_last_of(L"\\/") + 1)));
  std::size_t at = 0;
  for (int i = 0; i < 5000 && at != std::string::npos; ++i)
    at = text.find(mText::ToUtf8(L"已复制\tE:\\照片\\" + std::to_wstring(i) + L".jpg\r\n"), at);
  EXPECT_NE(at, std::string::npos) << "a line lost or out of order";
  EXPECT_NE(text.find(mText::ToUtf8(L"已复制 5000，")), std::string::npos);
  int files = 0;
  for ([[maybe_unused]] const auto& item : std::filesystem::directory_iterator(FsPath(dir.Root()))) ++files;
  EXPECT_EQ(files, 1) << "only the log";
}

TEST(cRunLog, LogsAreNamedByTheirStartAndOnlyTheNewestFiftyAreKept) {
  cTestDir dir;
  const std::wstring folder = dir.Root() + L"\\OmbrivoBeta\\日志";  // as the program writes it
  const std::filesystem::path host = FsPath(dir.Root()) / "OmbrivoBeta" / FsPath(L"日志");
  const auto started = cRunLog::Clock::now();
  std::wstring stem = cRunLog::LocalTime(started);
  std::replace(stem.begin(), stem.end(), L':', L'-');

  const std::wstring first = cRunLog(folder, L"D:\\", started).Write({}, {}, started);
  EXPECT_EQ(first, folder + L"\\" + stem + L".txt");
  EXPECT_NE(Read(host / FsPath(stem + L".txt")).find("OmbrivoBeta"), std::string::npos);
  EXPECT_EQ(cRunLog(folder, L"D:\\", started).Write({}, {}, started), folder + L"\\" + stem + L" (2).txt") << "same second";

  // 52 older logs and a file of someone else's.
  for (int i = 0; i < 52; ++i) std::ofstream(host / ("2001-01-01 00-00-" + std::to_string(10 + i) + ".txt")) << "old";
  std::ofstream(host / "readme.txt") << "mine";
  cRunLog(folder, L"D:\\", started).Write({}, {}, started);
  std::vector<std::string> names;
  for (const auto& item : std::filesystem::directory_iterator(host)) names.push_back(item.path().filename().string());
  std::sort(names.begin(), names.end());
  ASSERT_EQ(names.size(), cRunLog::kKept + 1);
  EXPECT_EQ(names.front(), "2001-01-01 00-00-15.txt") << "the five oldest went";
  EXPECT_EQ(names.back(), "readme.txt");
}

}  // namespace
