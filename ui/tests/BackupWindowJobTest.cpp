// The remembered job and the list's removal, on the real program started again and again over
// one job file.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>

#include "ControlIds.h"
#include "cAppDriver.h"
#include "cTestDir.h"

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
    EXPECT_NE(app.MessageText(box).find(L"job.json.bad"), std::wstring::npos);
    app.Acknowledge(box);
    EXPECT_TRUE(app.ListEntries().empty());
  }
  EXPECT_TRUE(std::filesystem::exists(FsPath(appData.Path(L"OmbrivoBeta")) / "job.json.bad"));
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
