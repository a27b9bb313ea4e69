// The shell's folder browser driven as a user drives it: the prompt is read, an item is
// selected in the tree, OK or Cancel is pressed. The item list the browser returns is watched
// from allocation to release.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <thread>

#include "DialogTest.h"
#include "cPlatformError.h"
#include "mText.h"

namespace {

const std::wstring kPrompt = L"备份到...";

HWND Tree(HWND dialog) { return cDialogDriver::FindDescendant(dialog, L"SysTreeView32"); }

std::wstring SelectedItemText(HWND tree) {
  wchar_t text[MAX_PATH] = {};
  TVITEMW item{};
  item.mask = TVIF_TEXT;
  item.hItem = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  item.pszText = text;
  item.cchTextMax = MAX_PATH;
  if (!item.hItem || !SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
    return {};
  return text;
}

// What the browser showed while the script ran.
struct BrowserView {
  std::wstring selected;   // the tree's selected item
  bool okEnabled = false;  // whether OK could be pressed for it
  bool promptShown = false;
};

// Waits for the browser and its tree, checking that the prompt is shown above it.
HWND WaitForBrowser(cDialogDriver& d, BrowserView& view) {
  const HWND dialog = d.WaitForDialog();
  d.WaitUntil([&] { return Tree(dialog) != nullptr; }, "the folder tree");
  view.promptShown = cDialogDriver::FindDescendant(dialog, L"Static", kPrompt.c_str()) != nullptr;
  return dialog;
}

// The name the tree shows for a path.
std::wstring DisplayName(const std::wstring& path) {
  SHFILEINFOW info{};
  SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), SHGFI_DISPLAYNAME);
  return info.szDisplayName;
}

// Selects `path` in the tree (BFFM_SETSELECTIONW, which expands the tree down to the item) and
// presses OK. Where the browser keeps OK disabled for the item, the command OK would send is
// sent instead, as the button sends it on Windows.
cDialogDriver::Script ConfirmItem(std::wstring path, BrowserView& view,
                                  const wchar_t* picture = nullptr) {
  return [path, &view, picture](cDialogDriver& d) {
    const HWND dialog = WaitForBrowser(d, view);
    const HWND tree = Tree(dialog);
    const HWND ok = GetDlgItem(dialog, IDOK);
    const std::wstring name = DisplayName(path);
    // Asked again until it takes: a browser that is still busy with its first tree drops it.
    d.WaitUntil(
        [&] {
          DWORD_PTR ignored = 0;
          SendMessageTimeoutW(dialog, BFFM_SETSELECTIONW, TRUE,
                              reinterpret_cast<LPARAM>(path.c_str()), SMTO_NORMAL, 5000, &ignored);
          return SelectedItemText(tree) == name;
        },
        "the tree to select " + mText::ToUtf8(name));
    // Focus on the tree, as after a click on the item, so that the selection shows.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(tree), TRUE,
                        SMTO_NORMAL, 5000, &ignored);
    view.selected = SelectedItemText(tree);
    view.okEnabled = IsWindowEnabled(ok) != FALSE;
    if (picture) d.Screenshot(picture);
    if (view.okEnabled)
      cDialogDriver::Click(dialog, IDOK);
    else
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok));
    d.WaitForClose(dialog);
  };
}

class FolderPickerTest : public DialogTest {
 protected:
  FolderPickerTest() { CreateDirectoryW(target.c_str(), nullptr); }

  // The list the browser returned was given to SHGetPathFromIDListW, then freed once.
  void ExpectListUsedThenFreedOnce() {
    ASSERT_EQ(spy.browseCalls.size(), 1u);
    const void* list = spy.browseCalls[0].returned;
    ASSERT_NE(list, nullptr);
    using Call = std::pair<std::string, const void*>;
    EXPECT_EQ(spy.shellCalls,
              (std::vector<Call>{{"browse", list}, {"path", list}, {"free", list}}));
  }

  const std::wstring target = dir.Path(L"目标 文件夹");
};

TEST_F(FolderPickerTest, ShowsThePromptAndACancelReturnsTheEmptyText) {
  BrowserView view;
  auto cancel = [&](cDialogDriver& d) {
    const HWND dialog = WaitForBrowser(d, view);
    cDialogDriver::Click(dialog, IDCANCEL);
    d.WaitForClose(dialog);
  };
  EXPECT_EQ(Drive(cancel, [&] { return dlg.BrowseForFolder(kPrompt); }), L"");
  EXPECT_TRUE(view.promptShown);

  ASSERT_EQ(spy.browseCalls.size(), 1u);
  const BROWSEINFOW& r = spy.browseCalls[0].record;
  EXPECT_EQ(r.hwndOwner, window.Handle());
  EXPECT_EQ(r.pidlRoot, nullptr);
  EXPECT_EQ(r.pszDisplayName, nullptr);
  EXPECT_EQ(spy.browseCalls[0].prompt, kPrompt + Nuls(L"\0\0"));
  EXPECT_EQ(r.ulFlags, 0x4001u);
  EXPECT_EQ(r.lpfn, nullptr);
  EXPECT_EQ(r.lParam, 0);
  EXPECT_EQ(r.iImage, 0);
  EXPECT_EQ(spy.shellCalls.size(), 1u) << "a cancel asks for no path and frees nothing";
}

TEST_F(FolderPickerTest, AConfirmedFolderReturnsItsPath) {
  BrowserView view;
  const auto path = Drive(ConfirmItem(target, view, L"folder-browser"),
                          [&] { return dlg.BrowseForFolder(kPrompt); });
  EXPECT_EQ(path, target);
  EXPECT_EQ(view.selected, L"目标 文件夹");
  EXPECT_TRUE(view.okEnabled);
  EXPECT_TRUE(view.promptShown);
  ExpectListUsedThenFreedOnce();
}

TEST_F(FolderPickerTest, AConfirmedDriveRootKeepsTheBackslashThePlatformWrote) {
  BrowserView view;
  EXPECT_EQ(Drive(ConfirmItem(L"C:\\", view), [&] { return dlg.BrowseForFolder(kPrompt); }),
            L"C:\\");
  EXPECT_TRUE(view.okEnabled);
  ExpectListUsedThenFreedOnce();
}

TEST_F(FolderPickerTest, AConfirmedFileReturnsItsPath) {
  const std::wstring file = MakeFile(L"目标 文件夹\\清单.txt");
  BrowserView view;
  EXPECT_EQ(Drive(ConfirmItem(file, view), [&] { return dlg.BrowseForFolder(kPrompt); }), file);
  EXPECT_EQ(view.selected.substr(0, 2), L"清单") << "the tree lists files";
  if (!view.okEnabled)
    RecordProperty("note", "the browser kept OK disabled for a file; its command was sent instead");
  ExpectListUsedThenFreedOnce();
}

TEST_F(FolderPickerTest, ABufferThePlatformLeftWithoutANulComesBackWhole) {
  spy.pathStandIn = [](PCIDLIST_ABSOLUTE, wchar_t*) { return FALSE; };
  BrowserView view;
  EXPECT_EQ(Drive(ConfirmItem(target, view), [&] { return dlg.BrowseForFolder(kPrompt); }),
            std::wstring(260, L' '));
  ExpectListUsedThenFreedOnce();
}

// S_OK from CoInitializeEx means COM was not yet initialised on this thread.
bool ComInitialisedHere() {
  const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (SUCCEEDED(hr)) CoUninitialize();
  return hr != S_OK;
}

TEST_F(FolderPickerTest, InitialisesComForTheCallOnlyAndKeepsTheCallersOwn) {
  ASSERT_FALSE(ComInitialisedHere());
  bool duringCall = false;
  auto cancel = [&](cDialogDriver& d) {
    BrowserView view;
    const HWND dialog = WaitForBrowser(d, view);
    cDialogDriver::Click(dialog, IDCANCEL);
    d.WaitForClose(dialog);
  };
  cCommonDialog watched([&] {
    DialogPlatform platform = spy.Platform();
    platform.BrowseFolder = [&, real = platform.BrowseFolder](BROWSEINFOW* record) {
      duringCall = ComInitialisedHere();
      return real(record);
    };
    return platform;
  }());
  Drive(cancel, [&] { return watched.BrowseForFolder(kPrompt); });
  EXPECT_TRUE(duringCall);
  EXPECT_FALSE(ComInitialisedHere()) << "the guard balanced its initialisation";

  ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
  Drive(cancel, [&] { return watched.BrowseForFolder(kPrompt); });
  EXPECT_TRUE(ComInitialisedHere()) << "the caller's initialisation stays";
  CoUninitialize();
}

TEST(FolderPickerInMultithreadedApartment, RefusesBeforeShowingTheBrowser) {
  std::string outcome;
  std::thread worker([&] {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    {
      cWatchdog watchdog{"the browser refused", std::chrono::seconds(10)};  // should a browser appear after all
      cTestWindow window;
      cPlatformSpy spy;
      cCommonDialog dlg(spy.Platform());
      try {
        dlg.BrowseForFolder(kPrompt);
        outcome = "no error";
      } catch (const cPlatformError& e) {
        outcome = mText::ToUtf8(e.Call()) + " " + std::to_string(e.Code() == 0x80010106u) +
                  " calls " + std::to_string(spy.browseCalls.size());
      }
    }
    CoUninitialize();
  });
  worker.join();
  EXPECT_EQ(outcome, "CoInitializeEx 1 calls 0");
}

}  // namespace
