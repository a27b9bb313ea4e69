#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#endif

#include "mCommandLine.h"
#include "mExitCode.h"
#include "mText.h"

namespace {

using Mode = mCommandLine::Request::Mode;
using Arguments = std::vector<std::wstring>;

const struct {
  std::wstring line;
  Arguments arguments;
  bool asTheSystem;  // CommandLineToArgvW splits it so too
} kSplitRows[] = {
    {L"p", {L"p"}, true},
    {L"\"C:\\Program Files\\a.exe\" /backup", {L"C:\\Program Files\\a.exe", L"/backup"}, true},
    {L"\"C:\\x\\a.exe\"/backup", {L"C:\\x\\a.exe", L"/backup"}, true},
    {L"C:\\x\\a.exe \t /backup  \"D:\\我的 备份\" E:\\a.txt  ", {L"C:\\x\\a.exe", L"/backup", L"D:\\我的 备份", L"E:\\a.txt"}, true},
    {L"p \"D:\\备份\\\\\" E:\\ F:\\", {L"p", L"D:\\备份\\", L"E:\\", L"F:\\"}, true},
    {L"p a\\\\b a\\\"b a\\\\\\\"b \"\"", {L"p", L"a\\\\b", L"a\"b", L"a\\\"b", L""}, true},
    {L"p \"\"\"c \"\" d \"e", {L"p", L"\"c", L"", L"d", L"e"}, true},
    {L"p \"a\\\"\" \"b\\\"c d\"", {L"p", L"a\"", L"b\"c d"}, true},
    // A quoted folder with its final backslash, wherever it stands.
    {L"p /backup \"C:\\my dest\\\" \"C:\\src\\a.txt\"", {L"p", L"/backup", L"C:\\my dest\\", L"C:\\src\\a.txt"}, false},
    {L"p /backup D:\\ \"E:\\照片\\\"", {L"p", L"/backup", L"D:\\", L"E:\\照片\\"}, false},
    {L"p \"D:\\\"\t\"E:\\\\\\\" F:\\", {L"p", L"D:\\", L"E:\\\\", L"F:\\"}, false},
};

TEST(mCommandLine, TheLineIsSplitAsTheSystemSplitsItButForAFolderQuotedWithItsFinalBackslash) {
  for (const auto& row : kSplitRows) EXPECT_EQ(mCommandLine::Split(row.line), row.arguments) << mText::ToUtf8(row.line);
}

#ifdef _WIN32
TEST(mCommandLine, TheSystemSplitsTheRowsSoButForTheQuotedFinalBackslashes) {
  for (const auto& row : kSplitRows) {
    int count = 0;
    const std::unique_ptr<LPWSTR, decltype(&LocalFree)> argv(CommandLineToArgvW(row.line.c_str(), &count), &LocalFree);
    ASSERT_TRUE(argv) << mText::ToUtf8(row.line);
    const Arguments system(argv.get(), argv.get() + count);
    EXPECT_EQ(system == row.arguments, row.asTheSystem) << mText::ToUtf8(row.line);
  }
}
#endif

TEST(mCommandLine, ArgumentsAreRead) {
  const struct {
    std::vector<std::wstring> arguments;
    Mode mode;
    std::wstring destination;
    std::vector<std::wstring> sources;
  } rows[] = {
      {{}, Mode::Window, L"", {}},
      {{L"/backup"}, Mode::RememberedJob, L"", {}},
      {{L"/BACKUP"}, Mode::RememberedJob, L"", {}},
      {{L"-Backup"}, Mode::RememberedJob, L"", {}},
      {{L"/backup", L"D:\\备份", L"E:\\a.txt", L"/b"}, Mode::OneOffJob, L"D:\\备份", {L"E:\\a.txt", L"/b"}},
      {{L"/backup", L"D:\\备份\"", L"E:\\照片\"", L"E:\\"}, Mode::OneOffJob, L"D:\\备份\\", {L"E:\\照片\\", L"E:\\"}},
      {{L"/backup", L"D:\\备份"}, Mode::BadBackup, L"", {}},
      {{L"/backup", L"", L"E:\\a.txt"}, Mode::BadBackup, L"", {}},
      {{L"/backup", L"D:\\备份", L"E:\\a.txt", L""}, Mode::BadBackup, L"", {}},
      {{L"/backupnow"}, Mode::Bad, L"", {}},
      {{L"/?"}, Mode::Bad, L"", {}},
      {{L"E:\\a.txt"}, Mode::Bad, L"", {}},
  };
  for (const auto& row : rows) {
    const mCommandLine::Request request = mCommandLine::Parse(row.arguments);
    const std::string name = row.arguments.empty() ? "none" : std::to_string(row.arguments.size()) + " arguments";
    EXPECT_EQ(request.mode, row.mode) << name;
    EXPECT_EQ(request.destination, row.destination) << name;
    EXPECT_EQ(request.sources, row.sources) << name;
    EXPECT_EQ(request.problem.empty(), row.mode != Mode::BadBackup) << name;
    EXPECT_EQ(request.Unattended(), row.mode != Mode::Window && row.mode != Mode::Bad) << name;
  }
}

TEST(mCommandLine, TheUsageListsEveryExitCode) {
  for (int code = mExitCode::kAllBackedUp; code <= mExitCode::kReplacementsHeld; ++code)
    EXPECT_NE(mCommandLine::Usage().find(L"\n  " + std::to_wstring(code) + L"  "), std::wstring::npos) << code;
}

TEST(mExitCode, TheOutcomeOfARunGivesItsCode) {
  const auto outcome = [](int files, int backedUp, bool stopped) {
    cRunOutcome o;
    o.files = files;
    o.backedUp = backedUp;
    o.counted = true;
    o.stopped = stopped;
    return o;
  };
  const auto with = [](cRunOutcome o, auto change) {
    change(o);
    return o;
  };
  using Answer = cRunOutcome::Answer;
  const struct {
    const char* name;
    cRunOutcome outcome;
    std::size_t listed, failures;
    bool broken;
    int code;
  } rows[] = {
      {"all backed up", outcome(3, 3, false), 2, 0, false, 0},
      {"nothing to copy in a listed folder", outcome(0, 0, false), 1, 0, false, 0},
      {"one failed", outcome(3, 2, false), 3, 1, false, 1},
      {"every file failed", outcome(2, 0, false), 2, 2, false, 2},
      {"no job", outcome(0, 0, false), 0, 0, false, 2},
      {"broken off after one", outcome(3, 1, false), 3, 0, true, 1},
      {"broken off at once", outcome(3, 0, false), 3, 0, true, 2},
      {"stopped", outcome(3, 1, true), 3, 1, false, 3},
      {"no room: nothing copied", with(outcome(3, 0, false), [](auto& o) { o.noRoom = true; }), 3, 0, false, 2},
      {"the destination gone after one", with(outcome(3, 1, false), [](auto& o) { o.destinationGone = true; }), 3, 0, false, 1},
      {"the destination gone at once", with(outcome(3, 0, false), [](auto& o) { o.destinationGone = true; }), 3, 0, false, 2},
      {"replacements held back", with(outcome(30, 5, false), [](auto& o) { o.replaceAnswer = Answer::Skip; }), 30, 0, false, 4},
      {"held back, one new file failed", with(outcome(30, 4, false), [](auto& o) { o.replaceAnswer = Answer::Skip; }), 30, 1, false, 4},
      {"held back, then stopped", with(outcome(30, 4, true), [](auto& o) { o.replaceAnswer = Answer::Skip; }), 30, 0, false, 3},
      {"replacing, as answered", with(outcome(30, 30, false), [](auto& o) { o.replaceAnswer = Answer::Replace; }), 30, 0, false, 0},
  };
  for (const auto& row : rows) EXPECT_EQ(mExitCode::For(row.outcome, row.listed, row.failures, row.broken), row.code) << row.name;
}

}  // namespace
