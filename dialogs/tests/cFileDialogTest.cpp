// The open and save dialogs driven as a user drives them: folders typed into the name box, files
// picked, the file type switched, Cancel and OK pressed.
#include <gtest/gtest.h>

#include <windows.h>
#include <dlgs.h>

#include <vector>

#include "DialogTest.h"
#include "mText.h"

namespace {

using Paths = std::vector<std::wstring>;

class OpenDialogTest : public DialogTest {
 protected:
  OpenDialogTest() {
    dlg.Flags(0x80200);  // as the backup window sets it
    CreateDirectoryW(source.c_str(), nullptr);
    for (const auto* name : {L"报告 1.txt", L"照片 2.txt", L"c.txt"})
      MakeFile(L"备份 源\\" + std::wstring(name));
  }
  std::wstring In(const std::wstring& name) const { return source + L"\\" + name; }

  const std::wstring source = dir.Path(L"备份 源");
};

TEST_F(OpenDialogTest, TwoFilesPickedInOneFolderComeBackAsFullPathsInTheDialogsOrder) {
  const auto& names = dlg.FileNames();
  auto pick = [&](cDialogDriver& d) {
    const HWND dialog = d.WaitForDialog();
    d.GoToFolder(dialog, source);
    cDialogDriver::SetText(cDialogDriver::FileNameBox(dialog), L"\"照片 2.txt\" \"报告 1.txt\"");
    d.Screenshot(L"open-dialog");
    cDialogDriver::Click(dialog, IDOK);
    d.WaitForClose(dialog);
  };
  ASSERT_TRUE(Drive(pick, [&] { return dlg.ShowOpen(); }));

  EXPECT_EQ(names, (Paths{In(L"照片 2.txt"), In(L"报告 1.txt")})) << "read through the same list";
  EXPECT_EQ(dlg.FileName(), source + L"\\");
}

TEST_F(OpenDialogTest, OnePickedFileIsBothFileNameAndTheOnlyEntry) {
  ASSERT_TRUE(Drive(PickIn(source, L"报告 1.txt"), [&] { return dlg.ShowOpen(); }));
  EXPECT_EQ(dlg.FileName(), In(L"报告 1.txt"));
  EXPECT_EQ(dlg.FileNames(), Paths{In(L"报告 1.txt")});
}

TEST_F(OpenDialogTest, ASecondPickReplacesTheFirstAndACancelKeepsIt) {
  ASSERT_TRUE(Drive(PickIn(source, L"\"报告 1.txt\" \"c.txt\""), [&] { return dlg.ShowOpen(); }));
  ASSERT_TRUE(Drive(PickIn(source, L"照片 2.txt"), [&] { return dlg.ShowOpen(); }));
  EXPECT_EQ(dlg.FileNames(), Paths{In(L"照片 2.txt")});

  EXPECT_FALSE(Drive(CancelFileDialog, [&] { return dlg.ShowOpen(); }));
  EXPECT_EQ(dlg.FileName(), In(L"照片 2.txt"));
  EXPECT_EQ(dlg.FileNames(), Paths{In(L"照片 2.txt")});
}

TEST_F(OpenDialogTest, FilesPickedInADriveRootGetNoSecondBackslash) {
  wchar_t drive[MAX_PATH] = {};
  ASSERT_TRUE(GetEnvironmentVariableW(L"SystemDrive", drive, MAX_PATH));
  const std::wstring root = std::wstring(drive) + L"\\";
  const std::wstring a = root + L"omb-dialogs-a.txt", b = root + L"omb-dialogs-b.txt";
  struct RemoveOnExit {
    std::vector<std::wstring> files;
    ~RemoveOnExit() {
      for (const auto& f : files) DeleteFileW(f.c_str());
    }
  } cleanup{{a, b}};
  for (const auto& file : cleanup.files) {
    const HANDLE h =
        CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) GTEST_SKIP() << "the drive root is not writable here";
    CloseHandle(h);
  }

  ASSERT_TRUE(Drive(PickIn(root, L"\"omb-dialogs-a.txt\" \"omb-dialogs-b.txt\""),
                    [&] { return dlg.ShowOpen(); }));
  EXPECT_EQ(dlg.FileName(), root);
  EXPECT_EQ(dlg.FileNames(), (Paths{a, b}));
}

TEST_F(OpenDialogTest, DefaultFlagsReadTheResultAsOneName) {
  dlg.Flags(0);
  ASSERT_TRUE(Drive(PickIn(source, L"c.txt"), [&] { return dlg.ShowOpen(); }));
  EXPECT_EQ(dlg.FileName(), In(L"c.txt"));
  EXPECT_EQ(dlg.FileNames(), Paths{In(L"c.txt")});
}

TEST_F(OpenDialogTest, SwitchingTheFileTypeLeavesFilterIndexAsTheCallerSetIt) {
  MakeFile(L"备份 源\\d.dat");
  dlg.Filter(L"文本文件 (*.txt)|*.txt|所有文件 (*.*)|*.*");
  dlg.FilterIndex(1);
  std::wstring firstType;
  auto pick = [&](cDialogDriver& d) {
    const HWND dialog = d.WaitForDialog();
    d.WaitForFileDialog(dialog);
    const HWND types = GetDlgItem(dialog, cmb1);
    wchar_t text[64] = {};
    SendMessageW(types, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
    firstType = text;
    SendMessageW(types, CB_SETCURSEL, 1, 0);
    for (const int notification : {CBN_SELCHANGE, CBN_SELENDOK})  // as a pick from the list sends
      SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(cmb1, notification),
                   reinterpret_cast<LPARAM>(types));
    d.GoToFolder(dialog, source);
    d.Confirm(dialog, L"d.dat");
    d.WaitForClose(dialog);
  };
  ASSERT_TRUE(Drive(pick, [&] { return dlg.ShowOpen(); }));

  EXPECT_EQ(firstType, L"文本文件 (*.txt)");
  EXPECT_EQ(dlg.FileNames(), Paths{In(L"d.dat")});
  ASSERT_EQ(spy.fileCalls.size(), 1u);
  EXPECT_EQ(spy.fileCalls[0].filterIndexAfter, 2u) << "the dialog did report the user's choice";
  EXPECT_EQ(dlg.FilterIndex(), 1);
}

class SaveDialogTest : public DialogTest {};

TEST_F(SaveDialogTest, ConfirmingTheOfferedNameReturnsItsFullPath) {
  dlg.FileName(L"备份清单.txt");
  dlg.InitDir(dir.Root());
  std::wstring offered;
  auto confirm = [&](cDialogDriver& d) {
    const HWND dialog = d.WaitForDialog();
    d.WaitForFileDialog(dialog);
    offered = cDialogDriver::Text(cDialogDriver::FileNameBox(dialog));
    cDialogDriver::Click(dialog, IDOK);
    d.WaitForClose(dialog);
  };
  ASSERT_TRUE(Drive(confirm, [&] { return dlg.ShowSave(); }));
  EXPECT_EQ(offered, L"备份清单.txt");
  EXPECT_EQ(dlg.FileName(), dir.Path(L"备份清单.txt"));
  EXPECT_TRUE(dlg.FileNames().empty()) << "saving never touches the list";
}

TEST_F(SaveDialogTest, ATypedNameWithoutExtensionGetsTheDefaultOne) {
  dlg.DefaultExt(L"txt");
  ASSERT_TRUE(Drive(PickIn(dir.Root(), L"报告"), [&] { return dlg.ShowSave(); }));
  EXPECT_EQ(dlg.FileName(), dir.Path(L"报告.txt"));
}

TEST_F(SaveDialogTest, CancelChangesNothing) {
  dlg.FileName(L"keep.txt");
  EXPECT_FALSE(Drive(CancelFileDialog, [&] { return dlg.ShowSave(); }));
  EXPECT_EQ(dlg.FileName(), L"keep.txt");
}

TEST_F(SaveDialogTest, TheDefaultFlagsAskBeforeReplacingAFile) {
  const std::wstring existing = MakeFile(L"已有.txt");
  for (const auto& [flags, asks] : {std::pair{0, true}, std::pair{0x4, false}}) {
    dlg.Flags(flags);
    bool asked = false;
    auto confirm = [&](cDialogDriver& d) {
      const HWND dialog = d.WaitForDialog();
      d.GoToFolder(dialog, dir.Root());
      d.Confirm(dialog, L"已有.txt");
      HWND question = nullptr;
      d.WaitUntil(
          [&] { return !IsWindow(dialog) || (question = cDialogDriver::FindDialog(dialog)); },
          "the dialog to close or ask");
      if (question) {
        asked = true;
        cDialogDriver::Click(question, IDYES);
      }
      d.WaitForClose(dialog);
    };
    ASSERT_TRUE(Drive(confirm, [&] { return dlg.ShowSave(); })) << flags;
    EXPECT_EQ(asked, asks) << "flags " << flags;
    EXPECT_EQ(dlg.FileName(), existing);
  }
}

}  // namespace
