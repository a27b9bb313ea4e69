// The remembered job and the list's removal, on the real program started again and again over
// one job file.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>

#include "ControlIds.h"
#include "cAppDriver.h"
#include "cTestDir.h"
#include "mText.h"

namespace {

const std::wstring kMark = L"\u221A";

class BackupWindowJobTest : public testing::Test {
 protected:
  std::wstring Source(const std::wstring& name) const { return files.Path(name); }
  void Select(const cAppDriver& app, int index) const { SendMessageW(app.ListBox(), LB_SETCURSEL, static_cast<WPARAM>(index), 0); }
  // Right-clicks the entry as the system reports it: WM_CONTEXTMENU at the mouse's screen point.
  HWND OpenMenu(const cAppDriver& app, int index) const {
    RECT item{};
    SendMessageW(app.ListBox(), LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    POINT at{item.left + 20, item.top + 3};
    ClientToScreen(app.ListBox(), &at);
    PostMessageW(app.ListBox(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(app.ListBox()), MAKELPARAM(at.x, at.y));
    for (int i = 0; i < 100; ++i) {
      if (HWND menu = FindWindowW(L"#32768", nullptr); menu && IsWindowVisible(menu)) return menu;
      Settle(std::chrono::milliseconds(50));
    }
    return nullptr;
  }
  // Chooses the menu's item by its position, as the keyboard does.
  void Choose(HWND menu, int position) const {
    for (int i = 0; i <= position; ++i) PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
    Settle(std::chrono::milliseconds(500));
  }

  cTestDir files;
  cTestDir appData;
};

TEST_F(BackupWindowJobTest, TheListAndTheDestinationComeBackWithoutMarksAtTheNextStart) {
  files.Write(L"a.txt", Pattern(100, 1));
  files.Write(L"b.txt", Pattern(100, 2));
  std::filesystem::create_directory(FsPath(files.Path(L"dest")));
  {
    cAppDriver app(L"", appData.Root());
    app.DropFiles({Source(L"a.txt"), Source(L"b.txt")});
    app.SetText(IDC_TEXT1, files.Path(L"dest"));
    app.Acknowledge(app.RunBackup());
    EXPECT_EQ(app.ListEntries(), (std::vector<std::wstring>{kMark + Source(L"a.txt"), kMark + Source(L"b.txt")}));
    app.ClickLabel(IDC_LABEL4);
    ASSERT_TRUE(app.WaitForExit(std::chrono::seconds(20)));
  }
  cAppDriver again(L"", appData.Root());
  EXPECT_EQ(again.ListEntries(), (std::vector<std::wstring>{Source(L"a.txt"), Source(L"b.txt")}));
  EXPECT_EQ(again.Text(again.Control(IDC_TEXT1)), files.Path(L"dest"));
  EXPECT_EQ(again.FindMessageBox(), nullptr);
}

TEST_F(BackupWindowJobTest, AnUnreadableJobFileIsKeptAsideAndTheUserIsToldOnce) {
  std::filesystem::create_directories(FsPath(appData.Path(L"OmbrivoBeta")));
  std::ofstream(FsPath(appData.Path(L"OmbrivoBeta")) / "job.json") << "{\"format\":1,\"entries\":[";
  {
    cAppDriver app(L"", appData.Root());
    HWND box = app.WaitForMessageBox();
    EXPECT_NE(app.MessageText(box).find(L"job.json.1.bad"), std::wstring::npos);
    app.Acknowledge(box);
    EXPECT_TRUE(app.ListEntries().empty());
  }
  EXPECT_TRUE(std::filesystem::exists(FsPath(appData.Path(L"OmbrivoBeta")) / "job.json.1.bad"));
  cAppDriver again(L"", appData.Root());
  EXPECT_EQ(again.FindMessageBox(), nullptr) << "said once";
}

TEST_F(BackupWindowJobTest, DeleteAndTheContextMenuRemoveEntriesAndTheJobRemembersIt) {
  std::vector<std::wstring> sources;
  for (const wchar_t* name : {L"1.txt", L"2.txt", L"3.txt", L"4.txt"}) {
    files.Write(name, Pattern(10));
    sources.push_back(Source(name));
  }
  {
    cAppDriver app(L"", appData.Root());
    app.DropFiles(sources);
    Select(app, 1);
    PostMessageW(app.ListBox(), WM_KEYDOWN, VK_DELETE, 0);
    Settle();
    EXPECT_EQ(app.ListEntries(), (std::vector<std::wstring>{sources[0], sources[2], sources[3]}));
    EXPECT_EQ(SendMessageW(app.ListBox(), LB_GETCURSEL, 0, 0), 1) << "the next entry takes the selection";

    HWND menu = OpenMenu(app, 2);
    ASSERT_NE(menu, nullptr);
    app.Screenshot(L"list-context-menu");
    Choose(menu, 0);  // 移除: the entry under the mouse
    EXPECT_EQ(app.ListEntries(), (std::vector<std::wstring>{sources[0], sources[2]}));
    app.ClickLabel(IDC_LABEL4);
    ASSERT_TRUE(app.WaitForExit(std::chrono::seconds(20)));
  }
  cAppDriver app(L"", appData.Root());
  EXPECT_EQ(app.ListEntries(), (std::vector<std::wstring>{sources[0], sources[2]}));
  HWND menu = OpenMenu(app, 0);
  ASSERT_NE(menu, nullptr);
  Choose(menu, 1);  // 清空列表
  EXPECT_TRUE(app.ListEntries().empty());
  app.DropFiles({sources[3]});
  EXPECT_EQ(app.ListEntries(), (std::vector<std::wstring>{sources[3]}));
}

}  // namespace

namespace {

std::vector<std::filesystem::path> Logs(const cAppDriver& app) {
  std::vector<std::filesystem::path> logs;
  const auto folder = FsPath(app.AppData().LogFolder());
  if (std::filesystem::exists(folder))
    for (const auto& item : std::filesystem::directory_iterator(folder)) logs.push_back(item.path());
  return logs;
}

std::wstring ReadLog(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return mText::FromUtf8(bytes);
}

TEST_F(BackupWindowJobTest, ARunWithAFailureIsLoggedAndItsMessageOffersTheLog) {
  files.Write(L"a.txt", Pattern(100, 1));
  files.Write(L"gone.txt", Pattern(100, 2));
  std::filesystem::create_directory(FsPath(files.Path(L"dest")));
  cAppDriver app;
  app.DropFiles({Source(L"a.txt"), Source(L"gone.txt")});
  std::filesystem::remove(FsPath(Source(L"gone.txt")));
  app.SetText(IDC_TEXT1, files.Path(L"dest"));
  HWND box = app.RunBackup();
  const std::wstring text = app.MessageText(box);
  EXPECT_NE(text.find(L"要打开本次备份的日志吗？"), std::wstring::npos) << mText::ToUtf8(text);
  app.PressButton(box, IDNO);
  app.WaitUntilGone(box);

  const auto logs = Logs(app);
  ASSERT_EQ(logs.size(), 1u);
  const std::wstring log = ReadLog(logs[0]);
  EXPECT_NE(log.find(L"备份到：" + files.Path(L"dest") + L"\r\n"), std::wstring::npos) << mText::ToUtf8(log);
  EXPECT_NE(log.find(L"共 2 个文件：已复制 1，未改变 0，失败 1，链接未跟随 0"), std::wstring::npos) << mText::ToUtf8(log);
  EXPECT_NE(log.find(L"\r\n已复制\t" + Source(L"a.txt") + L"\r\n"), std::wstring::npos);
  EXPECT_NE(log.find(L"\r\n失败\t" + Source(L"gone.txt") + L"\t"), std::wstring::npos);
  std::filesystem::copy_file(logs[0], FsPath(FromHostPath(OMB_ARTIFACT_DIR)) / "run-log-one-failure.txt",
                             std::filesystem::copy_options::overwrite_existing);

  box = app.RunBackup();  // the missing file is tried again, and fails again: a second log
  app.PressButton(box, IDNO);
  app.WaitUntilGone(box);
  EXPECT_EQ(Logs(app).size(), 2u);
}

}  // namespace
