// The real program, started and driven from outside through its real dialogs.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <regex>
#include <set>

#include "ControlIds.h"
#include "cAppDriver.h"
#include "mTestWindowTools.h"
#include "cTestDir.h"
#include "mFileTimes.h"
#include "mText.h"

namespace {

const std::wstring kMark = L"\u221A";

class BackupWindowTest : public testing::Test {
 protected:
  BackupWindowTest() {
    std::filesystem::create_directory(FsPath(sources.Path(L"one")));
    std::filesystem::create_directory(FsPath(sources.Path(L"two")));
    std::filesystem::create_directory(FsPath(backup.Path(L"dest")));
  }
  std::wstring Source(const std::wstring& folder, const std::wstring& name) const {
    return sources.Path(folder) + L"\\" + name;
  }
  std::wstring Destination() const { return backup.Path(L"dest"); }
  Bytes ReadBackup(const std::wstring& name) const { return backup.Read(L"dest\\" + name); }


  cTestDir sources;
  cTestDir backup;
  cAppDriver app;
};

TEST_F(BackupWindowTest, BacksUpTwoSelectionsFromTwoFoldersAndClosesWithTheLabel) {
  const Bytes a1 = Pattern(1000, 1), a2 = Pattern(2000, 2), big = Pattern(10485760, 3);
  sources.Write(L"one\\a.txt", a1);
  sources.Write(L"one\\empty.txt", {});
  sources.Write(L"two\\a.txt", a2);
  sources.Write(L"two\\big.bin", big);

  app.Click(IDC_COMMAND2);
  app.PickFiles(sources.Path(L"one"), {L"a.txt", L"empty.txt"});
  app.Click(IDC_COMMAND2);
  app.PickFiles(sources.Path(L"two"), {L"a.txt", L"big.bin"});
  const std::vector<std::wstring> picked = {Source(L"one", L"a.txt"), Source(L"one", L"empty.txt"),
                                            Source(L"two", L"a.txt"), Source(L"two", L"big.bin")};
  ASSERT_EQ(app.ListEntries(), picked);

  app.SetText(IDC_TEXT1, Destination());
  HWND box = app.RunBackup();
  EXPECT_EQ(app.MessageText(box), L"完成备份！");
  EXPECT_FALSE(app.MessageHasIcon(box));
  app.Screenshot(L"full-run");
  app.Acknowledge(box);

  EXPECT_EQ(ReadBackup(L"a.txt"), a1);
  EXPECT_EQ(ReadBackup(L"empty.txt"), Bytes{});
  EXPECT_EQ(ReadBackup(L"a (2).txt"), a2) << "the second a.txt must not overwrite the first";
  EXPECT_EQ(ReadBackup(L"big.bin"), big);
  for (std::size_t i = 0; i < picked.size(); ++i) EXPECT_EQ(app.ListEntries()[i], kMark + picked[i]);
  EXPECT_EQ(app.BarMax(), 10485760);
  EXPECT_EQ(app.BarPosition(), 10485760);

  app.ClickLabel(IDC_LABEL4);
  EXPECT_TRUE(app.WaitForExit(std::chrono::seconds(10)));
}

TEST_F(BackupWindowTest, FailedCopiesAreListedUnmarkedAndASecondRunCopiesOnlyThoseLeft) {
  sources.Write(L"one\\keep.txt", Pattern(300, 5));
  sources.Write(L"one\\gone.txt", Pattern(400, 6));
  app.Click(IDC_COMMAND2);
  app.PickFiles(sources.Path(L"one"), {L"keep.txt", L"gone.txt"});

  // A destination folder that does not exist: every copy fails and nothing is marked.
  app.SetText(IDC_TEXT1, backup.Path(L"missing"));
  HWND box = app.RunBackup();
  const std::wstring summary = app.MessageText(box);
  EXPECT_NE(summary.find(L"有 2 个文件未能备份"), std::wstring::npos);
  EXPECT_NE(summary.find(Source(L"one", L"gone.txt")), std::wstring::npos);
  EXPECT_NE(summary.find(L"系统找不到指定的路径"), std::wstring::npos);
  EXPECT_TRUE(app.MessageHasIcon(box));
  app.Screenshot(L"failed-run");
  app.Acknowledge(box);
  for (const auto& entry : app.ListEntries()) EXPECT_NE(entry.substr(0, 1), kMark);

  // One source removed: the other is copied and marked, the run still reports the missing one.
  std::filesystem::remove(FsPath(Source(L"one", L"gone.txt")));
  app.SetText(IDC_TEXT1, Destination());
  box = app.RunBackup();
  EXPECT_NE(app.MessageText(box).find(L"有 1 个文件未能备份"), std::wstring::npos);
  app.Acknowledge(box);
  EXPECT_EQ(app.ListEntries(), (std::vector<std::wstring>{kMark + Source(L"one", L"keep.txt"), Source(L"one", L"gone.txt")}));

  // Restored and run again: only the unmarked entry is copied.
  sources.Write(L"one\\gone.txt", Pattern(400, 6));
  backup.Write(L"dest\\keep.txt", Pattern(10, 9));  // would be replaced if copied again
  box = app.RunBackup();
  EXPECT_EQ(app.MessageText(box), L"完成备份！");
  app.Acknowledge(box);
  EXPECT_EQ(ReadBackup(L"gone.txt"), Pattern(400, 6));
  EXPECT_EQ(ReadBackup(L"keep.txt"), Pattern(10, 9)) << "a marked entry is not copied again";
}

TEST_F(BackupWindowTest, EmptyListFinishesAtOnceAndEmptyDestinationIsRefused) {
  HWND box = app.RunBackup();
  EXPECT_EQ(app.MessageText(box), L"完成备份！");
  app.Acknowledge(box);

  sources.Write(L"one\\a.txt", Pattern(10));
  app.Click(IDC_COMMAND2);
  app.PickFiles(sources.Path(L"one"), {L"a.txt"});
  box = app.RunBackup();
  EXPECT_NE(app.MessageText(box).find(L"备份目标文件夹"), std::wstring::npos);
  app.Acknowledge(box);
  EXPECT_EQ(app.ListEntries(), std::vector<std::wstring>{Source(L"one", L"a.txt")});
}

TEST_F(BackupWindowTest, BrowseFillsTheDestinationAndCancelEmptiesIt) {
  app.SetText(IDC_TEXT1, L"C:\\before");
  app.Click(IDC_COMMAND1);
  HWND browser = app.WaitForDialog([](HWND w) { return FindWindowExW(w, nullptr, WC_TREEVIEWW, nullptr) != nullptr; });
  bool promptShown = false;
  for (HWND child : mTestWindowTools::Children(browser)) promptShown |= app.Text(child) == L"备份到...";
  EXPECT_TRUE(promptShown);
  app.Screenshot(L"browse");
  app.PressButton(browser, IDCANCEL);
  app.WaitUntilGone(browser);
  EXPECT_EQ(app.Text(app.Control(IDC_TEXT1)), L"");

  app.Click(IDC_COMMAND1);
  browser = app.WaitForDialog([](HWND w) { return FindWindowExW(w, nullptr, WC_TREEVIEWW, nullptr) != nullptr; });
  HWND tree = FindWindowExW(browser, nullptr, WC_TREEVIEWW, nullptr);
  // Select the first item below the root with the keyboard, as a user would, and confirm it.
  SetForegroundWindow(browser);
  PostMessageW(tree, WM_KEYDOWN, VK_HOME, 0);
  PostMessageW(tree, WM_KEYDOWN, VK_DOWN, 0);
  Settle(std::chrono::milliseconds(500));
  app.PressButton(browser, IDOK);
  app.WaitUntilGone(browser);
  const std::wstring chosen = app.Text(app.Control(IDC_TEXT1));
  EXPECT_FALSE(chosen.empty());
  const DWORD attributes = GetFileAttributesW(chosen.c_str());
  EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES) << "the chosen path exists: " << testing::PrintToString(chosen);
}

}  // namespace

namespace {

TEST_F(BackupWindowTest, DuringARunTheProgressCaptionCountsFilesAndTheHeaderMovesTheWindow) {
  const int kFiles = 4;
  std::vector<std::wstring> names;
  for (int i = 1; i <= kFiles; ++i) {
    names.push_back(L"part" + std::to_wstring(i) + L".bin");
    sources.Write(L"one\\" + names.back(), Pattern(128 << 20, static_cast<std::uint32_t>(i)));
  }
  app.Click(IDC_COMMAND2);
  app.PickFiles(sources.Path(L"one"), names);
  app.SetText(IDC_TEXT1, Destination());

  app.Click(IDC_COMMAND3);
  // The window keeps answering during the run: Label3 reads "which of how many", the whole run's
  // share and, once known, the time left; the title (the taskbar's text) the share; "开始" reads
  // "停止".
  struct Seen {
    std::wstring caption, title, button;
    bool operator==(const Seen&) const = default;
  };
  std::vector<Seen> seen;
  bool shot = false;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  HWND box = nullptr;
  while (!box && std::chrono::steady_clock::now() < deadline) {
    const Seen now{app.Text(app.Control(IDC_LABEL3)), app.Text(app.Window()), app.Text(app.Control(IDC_COMMAND3))};
    if (seen.empty() || !(seen.back() == now)) seen.push_back(now);
    if (!shot && now.caption.find(L"剩余") != std::wstring::npos) {
      app.Screenshot(L"mid-run");
      shot = true;
    }
    box = app.FindMessageBox();
    Settle(std::chrono::milliseconds(20));
  }
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(app.MessageText(box), L"完成备份！");
  app.Acknowledge(box);
  const std::wregex caption(LR"(备份进度：([1-4])/4 (\d+)%( 剩余 \d+:\d\d)?)"), title(LR"((\d+)% OmbrivoBeta)");
  int lastShare = 0;
  std::set<std::wstring> files;
  for (const Seen& s : seen) {
    std::wsmatch m, t;
    // Before the run began, after it ended, or in the moment before its first file.
    if (s.button == L"开始" || s.caption == L"备份进度：") continue;
    EXPECT_EQ(s.button, L"停止");
    ASSERT_TRUE(std::regex_match(s.caption, m, caption)) << mText::ToUtf8(s.caption);
    ASSERT_TRUE(std::regex_match(s.title, t, title)) << mText::ToUtf8(s.title);
    EXPECT_GE(std::stoi(m[2]), lastShare) << "the whole run's share only grows";
    lastShare = std::stoi(m[2]);
    files.insert(m[1]);
  }
  EXPECT_EQ(files, (std::set<std::wstring>{L"1", L"2", L"3", L"4"}));
  EXPECT_TRUE(shot) << "the time left was shown";
  EXPECT_EQ(app.Text(app.Control(IDC_LABEL3)), L"备份进度：") << "back to the plain caption";
  EXPECT_EQ(app.Text(app.Window()), L"OmbrivoBeta");
  EXPECT_EQ(app.Text(app.Control(IDC_COMMAND3)), L"开始");
  for (const auto& name : names) EXPECT_EQ(ReadBackup(name).size(), std::size_t{128} << 20);

  // The header band is the window's handle: the rest of the window is not.
  RECT before{};
  GetWindowRect(app.Window(), &before);
  auto hit = [&](int x, int y) {
    return SendMessageW(app.Window(), WM_NCHITTEST, 0, MAKELPARAM(before.left + x, before.top + y));
  };
  EXPECT_EQ(hit(200, 40), HTCAPTION);
  EXPECT_EQ(hit(5, 5), HTCAPTION);
  EXPECT_EQ(hit(200, 300), HTCLIENT);
  EXPECT_EQ(hit(10, 495), HTCLIENT);

  // Dragged with the mouse, it follows.
  SetCursorPos(before.left + 250, before.top + 40);
  Settle();
  INPUT press[3] = {};
  for (auto& in : press) in.type = INPUT_MOUSE;
  press[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  // An absolute move: relative ones go through the system's pointer acceleration.
  press[1].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  press[1].mi.dx = MulDiv(before.left + 250 + 60, 65536, GetSystemMetrics(SM_CXSCREEN));
  press[1].mi.dy = MulDiv(before.top + 40 + 35, 65536, GetSystemMetrics(SM_CYSCREEN));
  press[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  for (auto& in : press) {
    SendInput(1, &in, sizeof in);
    Settle(std::chrono::milliseconds(300));
  }
  RECT after{};
  GetWindowRect(app.Window(), &after);
  EXPECT_EQ(after.left - before.left, 60);
  EXPECT_EQ(after.top - before.top, 35);
  EXPECT_EQ(after.right - after.left, 429) << "moved, not resized";
}

}  // namespace

namespace {

// A folder dropped on the window is backed up whole: nested folders, an empty one, a name
// outside the Chinese code page, and a link to a folder elsewhere left alone. A later session
// copies again only the file that changed.
TEST_F(BackupWindowTest, ADroppedFolderIsBackedUpWholeAndLaterOnlyWhereItChanged) {
  for (const wchar_t* folder : {L"photos", L"photos\\sub", L"photos\\sub\\deeper", L"photos\\empty", L"elsewhere"})
    std::filesystem::create_directory(FsPath(sources.Path(folder)));
  const std::map<std::wstring, Bytes> files = {
      {L"a.jpg", Pattern(3000, 1)},
      {L"sub\\b.bin", Pattern(5 << 20, 2)},
      {L"sub\\deeper\\한국어 ñ.txt", Pattern(10, 3)},
  };
  for (const auto& [name, bytes] : files) sources.Write(L"photos\\" + name, bytes);
  sources.Write(L"elsewhere\\secret.txt", Pattern(10, 4));
  const bool linked = CreateSymbolicLinkW(sources.Path(L"photos\\link").c_str(), sources.Path(L"elsewhere").c_str(),
                                          SYMBOLIC_LINK_FLAG_DIRECTORY) != FALSE;
  const std::wstring entry = sources.Path(L"photos") + L"\\";

  app.DropFiles({sources.Path(L"photos")});
  ASSERT_EQ(app.ListEntries(), std::vector<std::wstring>{entry});
  app.SetText(IDC_TEXT1, Destination());
  HWND box = app.RunBackup();
  EXPECT_EQ(app.MessageText(box), L"完成备份！");
  app.Acknowledge(box);
  EXPECT_EQ(app.ListEntries(), std::vector<std::wstring>{kMark + entry});
  for (const auto& [name, bytes] : files) EXPECT_EQ(ReadBackup(L"photos\\" + name), bytes) << mText::ToUtf8(name);
  EXPECT_TRUE(std::filesystem::is_directory(FsPath(backup.Path(L"dest\\photos\\empty"))));
  EXPECT_FALSE(std::filesystem::exists(FsPath(backup.Path(L"dest\\photos\\link")))) << "links are not followed";
  if (!linked) std::printf("note: this system made no symbolic link; the link case was not tried\n");

  // An unchanged file keeps its backup (altered here behind the program's back, same length and
  // time, so that a copy would show); a changed one is copied again.
  const std::wstring keptBackup = backup.Path(L"dest\\photos\\a.jpg");
  const std::uint64_t kept = mFileTimes::WriteTime(keptBackup);
  backup.Write(L"dest\\photos\\a.jpg", Pattern(3000, 9));
  mFileTimes::SetWriteTime(keptBackup, kept);
  const Bytes changed = Pattern(5 << 20, 7);
  sources.Write(L"photos\\sub\\b.bin", changed);
  cAppDriver later;
  later.DropFiles({sources.Path(L"photos")});
  later.SetText(IDC_TEXT1, Destination());
  box = later.RunBackup();
  EXPECT_EQ(later.MessageText(box), L"完成备份！");
  later.Acknowledge(box);
  EXPECT_EQ(ReadBackup(L"photos\\a.jpg"), Pattern(3000, 9)) << "the unchanged file was not copied again";
  EXPECT_EQ(ReadBackup(L"photos\\sub\\b.bin"), changed);
}

}  // namespace

namespace {

// The one run folder in the destination's versions folder.
std::wstring OnlyRunFolder(const std::wstring& versions) {
  std::vector<std::wstring> runs;
  for (const auto& item : std::filesystem::directory_iterator(FsPath(versions))) runs.push_back(WidePath(item.path().filename()));
  return runs.size() == 1 ? runs.front() : L"";
}

// A later session's run keeps the backup it replaces below "_版本", under the run's start.
TEST_F(BackupWindowTest, AReplacedBackupIsKeptAsAVersion) {
  sources.Write(L"one\\a.txt", Pattern(1000, 1));
  app.DropFiles({Source(L"one", L"a.txt")});
  app.SetText(IDC_TEXT1, Destination());
  HWND box = app.RunBackup();
  EXPECT_EQ(app.MessageText(box), L"完成备份！");
  app.Acknowledge(box);

  sources.Write(L"one\\a.txt", Pattern(1200, 2));
  cAppDriver later;
  later.DropFiles({Source(L"one", L"a.txt")});
  later.SetText(IDC_TEXT1, Destination());
  box = later.RunBackup();
  EXPECT_EQ(later.MessageText(box), L"完成备份！");
  later.Acknowledge(box);
  EXPECT_EQ(ReadBackup(L"a.txt"), Pattern(1200, 2));
  const std::wstring run = OnlyRunFolder(backup.Path(L"dest\\_版本"));
  EXPECT_TRUE(std::regex_match(run, std::wregex(LR"(\d{4}-\d\d-\d\d \d{6})"))) << mText::ToUtf8(run);
  EXPECT_EQ(ReadBackup(L"_版本\\" + run + L"\\a.txt"), Pattern(1000, 1));
}

// A run that would replace most of many backups asks first; "否" copies only the new file.
TEST_F(BackupWindowTest, ARunReplacingManyBackupsAsksAndNoKeepsThem) {
  std::filesystem::create_directory(FsPath(sources.Path(L"one\\photos")));
  for (int i = 0; i < 20; ++i) sources.Write(L"one\\photos\\f" + std::to_wstring(i) + L".jpg", Pattern(100, 1));
  app.DropFiles({sources.Path(L"one\\photos")});
  app.SetText(IDC_TEXT1, Destination());
  HWND box = app.RunBackup();
  EXPECT_EQ(app.MessageText(box), L"完成备份！");
  app.Acknowledge(box);

  for (int i = 0; i < 20; ++i) sources.Write(L"one\\photos\\f" + std::to_wstring(i) + L".jpg", Pattern(120, 2));
  sources.Write(L"one\\photos\\new.jpg", Pattern(10, 3));
  cAppDriver later;
  later.DropFiles({sources.Path(L"one\\photos")});
  later.SetText(IDC_TEXT1, Destination());
  HWND question = later.RunBackup();
  EXPECT_EQ(later.MessageText(question), L"将替换 20 个已备份的文件。源文件可能已损坏或被加密。仍要继续吗？");
  EXPECT_TRUE(later.MessageIcon(question) == IDI_WARNING);
  later.Screenshot(L"replace-question");
  later.PressButton(question, IDNO);
  later.WaitUntilGone(question);
  box = later.WaitForMessageBox();
  EXPECT_NE(later.MessageText(box).find(L"没有替换 20 个已备份的文件"), std::wstring::npos) << mText::ToUtf8(later.MessageText(box));
  later.Acknowledge(box);
  EXPECT_EQ(ReadBackup(L"photos\\f3.jpg"), Pattern(100, 1));
  EXPECT_EQ(ReadBackup(L"photos\\new.jpg"), Pattern(10, 3));
  EXPECT_FALSE(std::filesystem::exists(FsPath(backup.Path(L"dest\\_版本"))));
  EXPECT_EQ(later.ListEntries(), std::vector<std::wstring>{sources.Path(L"one\\photos") + L"\\"}) << "not marked";
}

}  // namespace
