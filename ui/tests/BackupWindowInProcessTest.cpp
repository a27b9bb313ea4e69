// The backup window hosted in the test's own process: the exact messages its progress bar
// receives, files dropped onto it, input given during a run, and the list's size limit.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <memory>

#include "ControlIds.h"
#include "cBackupWindow.h"
#include "cCopyFlight.h"
#include "cPlatformError.h"
#include "mMessagePump.h"
#include "cDialogWatcher.h"
#include "mDropFiles.h"
#include "cAppDataFolder.h"
#include "cTestDir.h"

namespace {

struct BarMessage {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  bool operator==(const BarMessage&) const = default;
};

std::ostream& operator<<(std::ostream& out, const BarMessage& m) {
  return out << (m.message == PBM_SETRANGE32 ? "PBM_SETRANGE32(" : "PBM_SETPOS(") << m.wParam << ", " << m.lParam << ")";
}

std::vector<BarMessage> g_BarMessages;
WNDPROC g_BarProc = nullptr;

LRESULT CALLBACK RecordBar(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == PBM_SETRANGE32 || message == PBM_SETPOS) g_BarMessages.push_back({message, wParam, lParam});
  return CallWindowProcW(g_BarProc, hwnd, message, wParam, lParam);
}

class InProcessWindowTest : public testing::Test {
 protected:
  InProcessWindowTest() : appData(appDataDir.Root()), window(GetModuleHandleW(nullptr)) {
    window.Show(SW_SHOW);
    mMessagePump::DispatchPending();
    HWND bar = FindWindowExW(Child(IDC_PROGRESSBAR1), nullptr, PROGRESS_CLASSW, nullptr);
    g_BarProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordBar)));
    g_BarMessages.clear();
  }
  HWND Child(int id) const { return GetDlgItem(window.hwnd(), id); }
  HWND List() const { return FindWindowExW(Child(IDC_LIST1), nullptr, L"ListBox", nullptr); }
  int Count() const { return static_cast<int>(SendMessageW(List(), LB_GETCOUNT, 0, 0)); }
  std::wstring Entry(int i) const {
    std::wstring text(static_cast<std::size_t>(SendMessageW(List(), LB_GETTEXTLEN, static_cast<WPARAM>(i), 0)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(SendMessageW(List(), LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()))));
    return text;
  }
  void Drop(const std::vector<std::wstring>& paths) {
    SendMessageW(window.hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(mDropFiles::Make(paths)), 0);
  }
  void Start() {
    SetWindowTextW(Child(IDC_TEXT1), dir.Path(L"dest").c_str());
    SendMessageW(Child(IDC_COMMAND3), BM_CLICK, 0, 0);  // returns once the run's message is answered
    mMessagePump::DispatchPending();
  }

  cTestDir dir;
  cTestDir appDataDir;
  cAppDataFolder appData;
  cDialogWatcher watcher;
  cBackupWindow window;
};

TEST_F(InProcessWindowTest, ProgressBarGetsRangeThenPositionForEveryChunk) {
  std::filesystem::create_directory(FsPath(dir.Path(L"dest")));
  dir.Write(L"ten.bin", Pattern(10485760));
  dir.Write(L"zero.bin", {});
  Drop({dir.Path(L"ten.bin"), dir.Path(L"zero.bin")});
  Start();
  const std::vector<BarMessage> expected = {
      {PBM_SETRANGE32, 0, 10485760}, {PBM_SETPOS, 4194304, 0},  {PBM_SETRANGE32, 0, 10485760},
      {PBM_SETPOS, 8388608, 0},      {PBM_SETRANGE32, 0, 10485760}, {PBM_SETPOS, 10485760, 0}};
  EXPECT_EQ(g_BarMessages, expected) << "the zero-length file leaves the bar as it was";
  EXPECT_EQ(Entry(0), L"\u221A" + dir.Path(L"ten.bin"));
  EXPECT_EQ(Entry(1), L"\u221A" + dir.Path(L"zero.bin"));
  EXPECT_TRUE(dir.Exists(L"dest\\zero.bin"));
  const auto seen = watcher.TakeSeen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, L"工程1");
  EXPECT_EQ(seen[0].text, L"完成备份！");
  EXPECT_FALSE(seen[0].hasIcon);
  wchar_t progress[64] = {};
  GetWindowTextW(Child(IDC_LABEL3), progress, 64);
  EXPECT_STREQ(progress, L"备份进度：") << "the progress caption is back after the run";
}

TEST_F(InProcessWindowTest, DroppedFilesAndFoldersAreAppendedInOrderFoldersWithABackslash) {
  std::filesystem::create_directory(FsPath(dir.Path(L"folder")));
  dir.Write(L"a.txt", Pattern(1));
  dir.Write(L"b.txt", Pattern(2));
  Drop({dir.Path(L"b.txt"), dir.Path(L"folder"), dir.Path(L"a.txt")});
  ASSERT_EQ(Count(), 3);
  EXPECT_EQ(Entry(0), dir.Path(L"b.txt"));
  EXPECT_EQ(Entry(1), dir.Path(L"folder") + L"\\");
  EXPECT_EQ(Entry(2), dir.Path(L"a.txt"));
  EXPECT_TRUE(watcher.TakeSeen().empty()) << "no message";
}

TEST_F(InProcessWindowTest, DropsInTheAnsiCodePageAreListedInTheirOwnCharacters) {
  dir.Write(L"报告.txt", Pattern(1));
  dir.Write(L"b.txt", Pattern(2));
  SendMessageW(window.hwnd(), WM_DROPFILES,
               reinterpret_cast<WPARAM>(mDropFiles::MakeAnsi({dir.Path(L"报告.txt"), dir.Path(L"b.txt")})), 0);
  ASSERT_EQ(Count(), 2);
  EXPECT_EQ(Entry(0), dir.Path(L"报告.txt"));
  EXPECT_EQ(Entry(1), dir.Path(L"b.txt"));
  EXPECT_TRUE(watcher.TakeSeen().empty());
}

TEST_F(InProcessWindowTest, ClicksGivenDuringARunAreDiscarded) {
  std::filesystem::create_directory(FsPath(dir.Path(L"dest")));
  dir.Write(L"a.bin", Pattern(9000000));
  Drop({dir.Path(L"a.bin")});
  // Queued before the run starts, so the run's own message pumping meets it.
  PostMessageW(Child(IDC_COMMAND2), BM_CLICK, 0, 0);
  Start();
  mMessagePump::DispatchPending();
  const auto seen = watcher.TakeSeen();
  ASSERT_EQ(seen.size(), 1u) << "no open dialog was shown for the click";
  EXPECT_EQ(seen[0].text, L"完成备份！");
  EXPECT_EQ(Count(), 1);
}

TEST_F(InProcessWindowTest, NeitherDeleteNorTheListMenuRemovesAnythingDuringARun) {
  std::filesystem::create_directory(FsPath(dir.Path(L"dest")));
  dir.Write(L"a.bin", Pattern(9000000));
  dir.Write(L"b.bin", Pattern(10));
  Drop({dir.Path(L"a.bin"), dir.Path(L"b.bin")});
  SendMessageW(List(), LB_SETCURSEL, 1, 0);
  // Queued before the run starts, so the run's own message pumping meets them; a menu that
  // opened would hold the run until the watchdog of the test ended it.
  PostMessageW(List(), WM_KEYDOWN, VK_DELETE, 0);
  PostMessageW(List(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(List()), MAKELPARAM(-1, -1));
  Start();
  const auto seen = watcher.TakeSeen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, L"完成备份！");
  EXPECT_EQ(Count(), 2);

  PostMessageW(List(), WM_KEYDOWN, VK_DELETE, 0);  // idle again: Delete removes the selected entry
  mMessagePump::DispatchPending();
  ASSERT_EQ(Count(), 1);
  EXPECT_EQ(Entry(0), L"\u221A" + dir.Path(L"a.bin"));
}

TEST_F(InProcessWindowTest, ListTakesAtMost32767EntriesAndSaysWhatWasLeftOut) {
  std::vector<std::wstring> paths;
  for (int i = 0; i < 32769; ++i) paths.push_back(L"C:\\f\\" + std::to_wstring(i));
  Drop(paths);
  EXPECT_EQ(Count(), 32767);
  EXPECT_EQ(Entry(32766), L"C:\\f\\32766");
  const auto seen = watcher.TakeSeen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_NE(seen[0].text.find(L"其余 2 个文件未添加"), std::wstring::npos) << testing::PrintToString(seen[0].text);
}

TEST_F(InProcessWindowTest, OneSourcePickedTwiceIsOneBackupAndNumbersSkipOtherEntriesOwnNames) {
  for (const wchar_t* folder : {L"A", L"B", L"C", L"dest"}) std::filesystem::create_directory(FsPath(dir.Path(folder)));
  dir.Write(L"A\\dup.txt", Pattern(10, 1));
  dir.Write(L"B\\dup.txt", Pattern(20, 2));
  dir.Write(L"C\\dup (2).txt", Pattern(30, 3));
  Drop({dir.Path(L"A\\dup.txt"), dir.Path(L"A\\dup.txt"), dir.Path(L"B\\dup.txt"), dir.Path(L"C\\dup (2).txt")});
  Start();
  EXPECT_EQ(dir.Read(L"dest\\dup.txt"), Pattern(10, 1));
  EXPECT_EQ(dir.Read(L"dest\\dup (2).txt"), Pattern(30, 3)) << "C's file keeps its own name";
  EXPECT_EQ(dir.Read(L"dest\\dup (3).txt"), Pattern(20, 2));
  EXPECT_FALSE(dir.Exists(L"dest\\dup (2) (2).txt"));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Entry(i).front(), L'\u221A') << i;
  EXPECT_EQ(watcher.TakeSeen().at(0).text, L"完成备份！");
}

// The list box refuses the next `g_RefuseInserts` entries inserted into it.
int g_RefuseInserts = 0;
WNDPROC g_ListProc = nullptr;
LRESULT CALLBACK RefusingList(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == LB_INSERTSTRING && g_RefuseInserts > 0 && g_RefuseInserts--) return LB_ERR;
  return CallWindowProcW(g_ListProc, hwnd, message, wParam, lParam);
}

TEST_F(InProcessWindowTest, AWindowFailureEndsTheRunWithASummaryAndKeepsWhatWasCopied) {
  std::filesystem::create_directory(FsPath(dir.Path(L"dest")));
  dir.Write(L"a.bin", Pattern(100));
  // Larger than the files copied several at a time, so that it waits for a.bin to be done.
  dir.Write(L"b.bin", Pattern(static_cast<std::size_t>(cCopyFlight::kLargestFile) + 1));
  Drop({dir.Path(L"a.bin"), dir.Path(L"b.bin")});
  g_ListProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(List(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RefusingList)));
  g_RefuseInserts = 1;  // marking a.bin fails
  PostMessageW(Child(IDC_COMMAND2), BM_CLICK, 0, 0);  // input waiting when the run breaks off
  Start();
  auto seen = watcher.TakeSeen();
  ASSERT_EQ(seen.size(), 1u) << "the summary alone; the click was dropped";
  EXPECT_EQ(seen[0].text.rfind(L"无法继续备份。\n", 0), 0u) << testing::PrintToString(seen[0].text);
  EXPECT_NE(seen[0].text.find(L"备份已中断"), std::wstring::npos);
  EXPECT_NE(seen[0].text.find(L"技术信息：List set"), std::wstring::npos);
  EXPECT_TRUE(dir.Exists(L"dest\\a.bin"));
  EXPECT_FALSE(dir.Exists(L"dest\\b.bin"));
  wchar_t progress[64] = {};
  GetWindowTextW(Child(IDC_LABEL3), progress, 64);
  EXPECT_STREQ(progress, L"备份进度：");

  // a.bin counts as backed up: gone from its folder, it is not copied again.
  std::filesystem::remove(FsPath(dir.Path(L"a.bin")));
  Start();
  seen = watcher.TakeSeen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, L"完成备份！");
  EXPECT_TRUE(dir.Exists(L"dest\\b.bin"));
}

TEST_F(InProcessWindowTest, PaintingFailsOnceWithAChineseMessageAndTheWindowLivesOn) {
  const WPARAM bad = 0x7ead;  // no device context
  EXPECT_EQ(SendMessageW(window.hwnd(), WM_ERASEBKGND, bad, 0), 1);
  EXPECT_EQ(SendMessageW(window.hwnd(), WM_ERASEBKGND, bad, 0), 1);
  const auto seen = watcher.TakeSeen();
  ASSERT_EQ(seen.size(), 1u) << "painting the ground colour alone after that";
  EXPECT_EQ(seen[0].text.rfind(L"无法绘制窗口。\n", 0), 0u) << testing::PrintToString(seen[0].text);
  EXPECT_NE(seen[0].text.find(L"\n\n技术信息："), std::wstring::npos);
  EXPECT_TRUE(IsWindow(window.hwnd()));
}

TEST_F(InProcessWindowTest, TheWholeClientAreaIsPaintedWhenItIsLargerThanTheSkin) {
  SetWindowPos(window.hwnd(), nullptr, 0, 0, 600, 700, SWP_NOMOVE | SWP_NOZORDER);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP canvas = CreateCompatibleBitmap(screen, 600, 700);
  ReleaseDC(nullptr, screen);
  HGDIOBJ previous = SelectObject(memory, canvas);
  const RECT all{0, 0, 600, 700};
  FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  SendMessageW(window.hwnd(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0);
  EXPECT_EQ(GetPixel(memory, 5, 5), RGB(234, 234, 234)) << "the skin";
  for (const POINT p : {POINT{590, 10}, POINT{10, 690}, POINT{590, 690}})
    EXPECT_EQ(GetPixel(memory, p.x, p.y), RGB(234, 234, 234)) << p.x << "," << p.y;
  SelectObject(memory, previous);
  DeleteObject(canvas);
  DeleteDC(memory);
}

TEST(BackupWindowStartUp, AFailureWhileCreatingIsThrownOnceAndShowsNoMessageOfItsOwn) {
  cDialogWatcher watcher;
  // Without the module, the skin cannot be loaded while the controls are made.
  try {
    cBackupWindow window(nullptr);
    ADD_FAILURE() << "the window was made without its skin";
  } catch (const cPlatformError& error) {
    EXPECT_EQ(error.Call(), L"LoadImageW");
  }
  EXPECT_TRUE(watcher.TakeSeen().empty());
}

}  // namespace

namespace {

TEST_F(InProcessWindowTest, WindowCarriesTheApplicationIcon) {
  EXPECT_NE(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1)), nullptr) << GetLastError();
  EXPECT_NE(SendMessageW(window.hwnd(), WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_NE(SendMessageW(window.hwnd(), WM_GETICON, ICON_SMALL, 0), 0);
}

}  // namespace
