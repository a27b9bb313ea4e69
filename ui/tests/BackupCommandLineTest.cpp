// The command line of unattended runs, on the real program: the exit codes as one table, with
// the backups and the log each run leaves.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>

#include "ControlIds.h"
#include "cAppDataFolder.h"
#include "cAppDriver.h"
#include "cTestDir.h"
#include "mTestWindowTools.h"
#include "mText.h"

namespace {

using namespace std::chrono_literals;

// The program started with arguments and no one at the keyboard.
class cProgram {
 public:
  explicit cProgram(const std::wstring& arguments)
      : m_Process(mTestWindowTools::StartProgram(L"\"" + FromHostPath(OMB_APP_PATH) + L"\" " + arguments)) {}
  ~cProgram() {
    if (WaitForSingleObject(m_Process.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(m_Process.hProcess, 99);
    CloseHandle(m_Process.hThread);
    CloseHandle(m_Process.hProcess);
  }
  cProgram(const cProgram&) = delete;
  cProgram& operator=(const cProgram&) = delete;

  // The exit code; 99 when it had not ended within the time.
  DWORD Wait(std::chrono::milliseconds timeout = 60s) const {
    if (WaitForSingleObject(m_Process.hProcess, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) return 99;
    DWORD code = 99;
    GetExitCodeProcess(m_Process.hProcess, &code);
    return code;
  }
  // A visible top-level window of the program of this class, waited for.
  HWND WaitForWindow(const std::wstring& className) const {
    for (int i = 0; i < 300; ++i) {
      for (HWND w : mTestWindowTools::TopLevel(m_Process.dwProcessId))
        if (IsWindowVisible(w) && WindowClass(w) == className) return w;
      Settle(100ms);
    }
    return nullptr;
  }

 private:
  PROCESS_INFORMATION m_Process{};
};

class BackupCommandLineTest : public testing::Test {
 protected:
  BackupCommandLineTest() : appData(appDataDir.Root()) {
    files.Write(L"a.txt", Pattern(1000, 1));
    files.Write(L"b.txt", Pattern(2000, 2));
    std::filesystem::create_directory(FsPath(files.Path(L"dest")));
    std::filesystem::create_directory(FsPath(files.Path(L"photos")));
    files.Write(L"photos\\x.jpg", Pattern(300, 3));
  }
  std::wstring Quoted(const std::wstring& name) const { return L"\"" + files.Path(name) + L"\""; }
  // A job file as the program writes one for paths on no known volume.
  void RememberJob(const std::wstring& destination, const std::vector<std::wstring>& names) const {
    std::string entries;
    for (const auto& name : names)
      entries += std::string(entries.empty() ? "" : ",") + R"({"path":")" + Escaped(files.Path(name)) + R"(","name":")" +
                 mText::ToUtf8(name) + R"("})";
    std::filesystem::create_directories(FsPath(appDataDir.Path(L"OmbrivoBeta")));
    std::ofstream(FsPath(appDataDir.Path(L"OmbrivoBeta")) / "job.json")
        << R"({"format":1,"destination":{"path":")" << Escaped(destination) << R"("},"entries":[)" << entries << "]}";
  }
  static std::string Escaped(const std::wstring& path) {
    std::string out;
    for (char c : mText::ToUtf8(path)) out += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return out;
  }
  std::vector<std::filesystem::path> Logs() const {
    std::vector<std::filesystem::path> logs;
    const auto folder = FsPath(appData.LogFolder());
    if (std::filesystem::exists(folder))
      for (const auto& item : std::filesystem::directory_iterator(folder)) logs.push_back(item.path());
    return logs;
  }
  // The log that is not among `before`.
  std::wstring NewLog(const std::vector<std::filesystem::path>& before) const {
    for (const auto& log : Logs())
      if (std::find(before.begin(), before.end(), log) == before.end()) {
        std::ifstream in(log, std::ios::binary);
        return mText::FromUtf8(std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
      }
    return {};
  }

  cTestDir files;
  cTestDir appDataDir;
  cAppDataFolder appData;
};

TEST_F(BackupCommandLineTest, ExitCodesTellHowAnUnattendedRunWent) {
  const struct {
    const char* name;
    std::function<std::wstring()> prepare;  // answers the arguments
    DWORD code;
    std::vector<std::wstring> backedUp;
    std::wstring logged;  // found in the run's log: every run leaves one
  } rows[] = {
      {"the remembered job", [&] { RememberJob(files.Path(L"dest"), {L"a.txt", L"b.txt"}); return L"/backup"; }, 0,
       {L"a.txt", L"b.txt"}, L"已复制\t" + files.Path(L"b.txt")},
      {"the remembered job again, all up to date", [&] { return L"/BACKUP"; }, 0, {L"a.txt", L"b.txt"},
       L"未改变\t" + files.Path(L"a.txt")},
      {"a one-off job with a missing file", [&] { return L"/backup " + Quoted(L"dest") + L" " + Quoted(L"a.txt") + L" " + Quoted(L"gone.txt"); },
       1, {}, L"失败\t" + files.Path(L"gone.txt")},
      {"a one-off job of a folder, quoted with its final backslash", [&] { return L"/backup " + Quoted(L"dest") + L" \"" + files.Path(L"photos") + L"\\\""; },
       0, {L"photos\\x.jpg"}, L"已复制\t" + files.Path(L"photos") + L"\\x.jpg"},
      {"a one-off job into a folder quoted with its final backslash, hung by no box",
       [&] { files.Write(L"c.txt", Pattern(400, 4)); return L"/backup \"" + files.Path(L"dest") + L"\\\" " + Quoted(L"c.txt"); }, 0,
       {L"c.txt"}, L"已复制\t" + files.Path(L"c.txt")},
      {"a one-off job into a folder that is not there", [&] { return L"/backup " + Quoted(L"nowhere") + L" " + Quoted(L"a.txt"); }, 2,
       {}, L"失败\t" + files.Path(L"a.txt")},
      {"a one-off job whose every file is missing", [&] { return L"/backup " + Quoted(L"dest") + L" " + Quoted(L"gone.txt"); }, 2, {},
       L"共 "},
      {"the job's stick is not plugged in: another is at its letter", [&] {
         std::ofstream(FsPath(appDataDir.Path(L"OmbrivoBeta")) / "job.json") << R"({"format":1,"destination":{"path":")"
             << Escaped(files.Path(L"dest")) << R"("},"entries":[{"volume":2863267841,"root":"Q:\\","label":"A盘","path":"a.txt","name":"q.txt"}]})";
         return L"/backup"; }, 2, {}, L"U 盘「A盘」未插入"},
      {"no job", [&] { std::filesystem::remove(FsPath(appDataDir.Path(L"OmbrivoBeta")) / "job.json"); return L"/backup"; }, 2, {},
       L"结果：无法备份：没有要备份的文件"},
      {"a job without a destination", [&] { RememberJob(L"", {L"a.txt"}); return L"/backup"; }, 2, {}, L"结果：无法备份：请先选择"},
      {"a destination and no source", [&] { return L"/backup onlyadestination"; }, 2, {}, L"结果：无法备份：命令行参数错误"},
  };
  for (const auto& row : rows) {
    const auto before = Logs();
    cProgram program(row.prepare());
    EXPECT_EQ(program.Wait(), row.code) << row.name;
    for (const auto& name : row.backedUp) EXPECT_TRUE(files.Exists(L"dest\\" + name)) << row.name << " " << mText::ToUtf8(name);
    const std::wstring log = NewLog(before);
    EXPECT_NE(log.find(row.logged), std::wstring::npos) << row.name << "\n" << mText::ToUtf8(log);
  }
}

TEST_F(BackupCommandLineTest, AnUnknownSwitchShowsTheUsageAndEndsWithTwo) {
  for (const wchar_t* arguments : {L"/frobnicate"}) {
    cProgram program(arguments);
    HWND box = program.WaitForWindow(L"#32770");
    ASSERT_NE(box, nullptr) << mText::ToUtf8(arguments);
    wchar_t text[2048] = {};
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      GetWindowTextW(child, text, 2048);
      if (std::wstring(text).find(L"用法") != std::wstring::npos) break;
    }
    EXPECT_NE(std::wstring(text).find(L"/backup <目标文件夹>"), std::wstring::npos) << mText::ToUtf8(text);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(program.Wait(), 2u) << mText::ToUtf8(arguments);
  }
}

TEST_F(BackupCommandLineTest, ClosingAnUnattendedRunStopsItAndEndsWithThree) {
  // Big enough that the run is still copying when it is told to close, as Task Scheduler's
  // "end the task" does.
  {
    std::ofstream big(FsPath(files.Path(L"big.bin")), std::ios::binary);
    big.seekp((std::streamoff{1} << 31) - 1);
    big.put('x');
  }
  const auto before = Logs();
  cProgram program(L"/backup " + Quoted(L"dest") + L" " + Quoted(L"big.bin"));
  HWND window = program.WaitForWindow(kBackupWindowClass);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(IsIconic(window)) << "minimized";
  Settle(1s);
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.Wait(), 3u);
  EXPECT_FALSE(files.Exists(L"dest\\big.bin"));
  EXPECT_NE(NewLog(before).find(L"结果：备份已停止"), std::wstring::npos) << mText::ToUtf8(NewLog(before));
}

// Two runs into one destination at once (two schedules, or a schedule and the window) take turns:
// nothing fails, and every file is backed up by one of them.
TEST_F(BackupCommandLineTest, TwoRunsIntoOneDestinationTakeTurns) {
  std::filesystem::create_directory(FsPath(files.Path(L"many")));
  for (std::uint32_t i = 0; i < 300; ++i) files.Write(L"many\\f" + std::to_wstring(i) + L".bin", Pattern(32 << 10, i));
  const std::wstring arguments = L"/backup " + Quoted(L"dest") + L" \"" + files.Path(L"many") + L"\\\"";
  cProgram first(arguments), second(arguments);
  EXPECT_EQ(first.Wait(120s), 0u);
  EXPECT_EQ(second.Wait(120s), 0u);
  for (std::uint32_t i = 0; i < 300; i += 37) EXPECT_EQ(files.Read(L"dest\\many\\f" + std::to_wstring(i) + L".bin"), Pattern(32 << 10, i)) << i;
}

// A second start of the window on the same job brings the first one forward instead.
TEST_F(BackupCommandLineTest, ASecondWindowStartBringsTheFirstForward) {
  cAppDriver app(L"", appDataDir.Root());
  ShowWindow(app.Window(), SW_MINIMIZE);
  Settle(500ms);
  ASSERT_TRUE(IsIconic(app.Window()));
  cProgram again(L"");
  EXPECT_EQ(again.Wait(20s), 0u);
  Settle(500ms);
  EXPECT_FALSE(IsIconic(app.Window())) << "restored";
}

}  // namespace
