// The object's properties and the records it hands the platform, checked as the real dialogs
// receive them; failures that are not a cancel.
#include <gtest/gtest.h>

#include <cderr.h>

#include "DialogTest.h"
#include "cDialogError.h"
#include "cPlatformError.h"
#include "mText.h"

namespace {

TEST(cCommonDialogObject, StartsWithItsInitialValues) {
  const cCommonDialog dlg;
  EXPECT_EQ(dlg.Flags(), 0);
  EXPECT_EQ(dlg.FilterIndex(), 0);
  EXPECT_EQ(dlg.MaxFile(), 260);
  EXPECT_EQ(dlg.Filter(), L"");
  EXPECT_EQ(dlg.FileName(), L"");
  EXPECT_EQ(dlg.Title(), L"");
  EXPECT_EQ(dlg.DefaultExt(), L"");
  EXPECT_EQ(dlg.InitDir(), L"");
  EXPECT_TRUE(dlg.FileNames().empty());
}

TEST(cCommonDialogObject, SettersStoreWhatTheyAreGiven) {
  cCommonDialog dlg;
  dlg.Flags(-5);
  dlg.FilterIndex(-2);
  dlg.Filter(L"文本|*.txt|");
  dlg.FileName(L"C:\\a b\\报告.txt");
  dlg.Title(L"选择文件");
  dlg.DefaultExt(L"txt");
  dlg.InitDir(L"D:\\");
  EXPECT_EQ(dlg.Flags(), -5);
  EXPECT_EQ(dlg.FilterIndex(), -2);
  EXPECT_EQ(dlg.Filter(), Nuls(L"文本\0*.txt\0"));
  EXPECT_EQ(dlg.FileName(), L"C:\\a b\\报告.txt");
  EXPECT_EQ(dlg.Title(), L"选择文件");
  EXPECT_EQ(dlg.DefaultExt(), L"txt");
  EXPECT_EQ(dlg.InitDir(), L"D:\\");
  for (auto [stored, read] : {std::pair{0, 260}, {-1, 260}, {1, 1}, {1000, 1000}}) {
    dlg.MaxFile(stored);
    EXPECT_EQ(dlg.MaxFile(), read) << stored;
  }
  EXPECT_EQ(&dlg.FileNames(), &dlg.FileNames()) << "the object's own list, not a copy";
}

class RecordTest : public DialogTest {};

void ExpectPlainFileRecord(const FileCall& call, HWND owner) {
  const OPENFILENAMEW& r = call.record;
  // The record that ends with lpTemplateName: 76 bytes on 32-bit Windows, 136 on 64-bit.
  EXPECT_EQ(r.lStructSize, sizeof(void*) == 4 ? 76u : 136u);
  EXPECT_EQ(r.hwndOwner, owner);
  EXPECT_EQ(r.hInstance, GetModuleHandleW(nullptr));
  EXPECT_EQ(r.lpstrCustomFilter, nullptr);
  EXPECT_EQ(r.nMaxCustFilter, 0u);
  EXPECT_EQ(r.nMaxFile, call.file.size());
  EXPECT_EQ(r.lpstrFileTitle, nullptr);
  EXPECT_EQ(r.nMaxFileTitle, 0u);
  EXPECT_EQ(r.nFileOffset, 0);
  EXPECT_EQ(r.nFileExtension, 0);
  EXPECT_EQ(r.lCustData, 0);
  EXPECT_EQ(r.lpfnHook, nullptr);
  EXPECT_EQ(r.lpTemplateName, nullptr);
}

TEST_F(RecordTest, OpenWithNothingSetPassesNullTextsAndTheDefaultFlags) {
  dlg.FileName(L"not offered");
  EXPECT_FALSE(Drive(CancelFileDialog, [&] { return dlg.ShowOpen(); }));

  ASSERT_EQ(spy.fileCalls.size(), 1u);
  const FileCall& call = spy.fileCalls[0];
  ExpectPlainFileRecord(call, window.Handle());
  EXPECT_EQ(call.record.Flags, 0x1004u);
  EXPECT_EQ(call.record.nFilterIndex, 0u);
  EXPECT_EQ(call.file, std::wstring(260, L'\0')) << "the name box starts empty";
  EXPECT_FALSE(call.filter);
  EXPECT_FALSE(call.initialDir);
  EXPECT_FALSE(call.title);
  EXPECT_FALSE(call.defaultExt);
  EXPECT_EQ(dlg.FileName(), L"not offered") << "a cancel changes nothing";
}

TEST_F(RecordTest, OpenPassesEveryPropertyAndTheDialogShowsThem) {
  dlg.Flags(0x80200);
  dlg.Filter(L"文本文件|*.txt");
  dlg.FilterIndex(1);
  dlg.MaxFile(1000);
  dlg.Title(L"选择要备份的文件");
  dlg.InitDir(dir.Root());
  dlg.DefaultExt(L"txt");
  dlg.FileName(L"not offered");

  std::wstring caption, folder, nameBox;
  auto observe = [&](cDialogDriver& d) {
    const HWND dialog = d.WaitForDialog();
    d.WaitForFileDialog(dialog);
    caption = cDialogDriver::Text(dialog);
    folder = cDialogDriver::CurrentFolder(dialog);
    nameBox = cDialogDriver::Text(cDialogDriver::FileNameBox(dialog));
    cDialogDriver::Click(dialog, IDCANCEL);
    d.WaitForClose(dialog);
  };
  EXPECT_FALSE(Drive(observe, [&] { return dlg.ShowOpen(); }));

  ASSERT_EQ(spy.fileCalls.size(), 1u);
  const FileCall& call = spy.fileCalls[0];
  ExpectPlainFileRecord(call, window.Handle());
  EXPECT_EQ(call.record.Flags, 0x80200u) << "nothing is or-ed into a caller's flags";
  EXPECT_EQ(call.record.nFilterIndex, 1u);
  EXPECT_EQ(call.file, std::wstring(1000, L'\0'));
  EXPECT_EQ(call.filter, Nuls(L"文本文件\0*.txt\0\0"));
  EXPECT_EQ(call.initialDir, dir.Root() + Nuls(L"\0\0"));
  EXPECT_EQ(call.title, Nuls(L"选择要备份的文件\0\0"));
  EXPECT_EQ(call.defaultExt, Nuls(L"txt\0\0"));

  EXPECT_EQ(caption, L"选择要备份的文件");
  EXPECT_TRUE(SameFolder(folder, dir.Root())) << mText::ToUtf8(folder);
  EXPECT_EQ(nameBox, L"");
}

TEST_F(RecordTest, SaveOffersFileNameWithTheDefaultFlags) {
  dlg.FileName(L"备份清单.txt");
  dlg.Filter(L"A|*.a|");  // with a final bar, where the open case has none
  dlg.MaxFile(-1);
  std::wstring nameBox;
  auto observe = [&](cDialogDriver& d) {
    const HWND dialog = d.WaitForDialog();
    d.WaitForFileDialog(dialog);
    nameBox = cDialogDriver::Text(cDialogDriver::FileNameBox(dialog));
    cDialogDriver::Click(dialog, IDCANCEL);
    d.WaitForClose(dialog);
  };
  EXPECT_FALSE(Drive(observe, [&] { return dlg.ShowSave(); }));

  ASSERT_EQ(spy.fileCalls.size(), 1u);
  const FileCall& call = spy.fileCalls[0];
  ExpectPlainFileRecord(call, window.Handle());
  EXPECT_EQ(call.record.Flags, 0x6u);
  EXPECT_EQ(call.filter, Nuls(L"A\0*.a\0\0"));
  std::wstring expected = L"备份清单.txt";
  expected.resize(260, L'\0');
  EXPECT_EQ(call.file, expected);
  EXPECT_EQ(nameBox, L"备份清单.txt");
  EXPECT_EQ(dlg.FileName(), L"备份清单.txt");
}

TEST_F(RecordTest, SaveGivesANameLongerThanMaxFileRoomForItsNul) {
  const std::wstring name = dir.Path(L"a name longer than the buffer.txt");
  dlg.MaxFile(10);
  dlg.FileName(name);
  auto confirm = [&](cDialogDriver& d) {
    const HWND dialog = d.WaitForDialog();
    d.WaitForFileDialog(dialog);
    cDialogDriver::Click(dialog, IDOK);
    d.WaitForClose(dialog);
  };
  EXPECT_TRUE(Drive(confirm, [&] { return dlg.ShowSave(); }));

  ASSERT_EQ(spy.fileCalls.size(), 1u);
  EXPECT_EQ(spy.fileCalls[0].record.nMaxFile, name.size() + 1);
  EXPECT_EQ(spy.fileCalls[0].file, name + L'\0');
  EXPECT_EQ(dlg.FileName(), name);
}

TEST_F(RecordTest, ASelectionTooLongForTheBufferIsAnErrorAndChangesNothing) {
  MakeFile(L"a.txt");
  dlg.MaxFile(10);
  dlg.FileName(L"previous");
  try {
    Drive(PickIn(dir.Root(), L"a.txt"), [&] { return dlg.ShowOpen(); });
    ADD_FAILURE() << "no error";
  } catch (const cDialogError& e) {
    EXPECT_EQ(e.Operation(), L"ShowOpen");
    EXPECT_EQ(e.Call(), L"GetOpenFileNameW");
    EXPECT_EQ(e.Code(), static_cast<std::uint32_t>(FNERR_BUFFERTOOSMALL));
    EXPECT_NE(e.Describe().find(L"FNERR_BUFFERTOOSMALL"), std::wstring::npos);
    EXPECT_NE(e.Describe().find(L"10 characters given"), std::wstring::npos) << e.what();
  }
  EXPECT_EQ(dlg.FileName(), L"previous");
  EXPECT_TRUE(dlg.FileNames().empty());
}

// No window at all: the thread has no active window to own a dialog.
TEST(cCommonDialogWithoutWindow, FailsBeforeAnyDialogIsShown) {
  ASSERT_EQ(GetActiveWindow(), nullptr);
  cPlatformSpy spy;
  cCommonDialog dlg(spy.Platform());
  dlg.FileName(L"kept");

  struct Case {
    const wchar_t* operation;
    std::function<void()> call;
  };
  const Case cases[] = {
      {L"ShowOpen", [&] { dlg.ShowOpen(); }},
      {L"ShowSave", [&] { dlg.ShowSave(); }},
      {L"BrowseForFolder", [&] { dlg.BrowseForFolder(L"备份到..."); }},
  };
  for (const auto& c : cases) {
    try {
      c.call();
      ADD_FAILURE() << "no error from " << mText::ToUtf8(c.operation);
    } catch (const cDialogError& e) {
      EXPECT_EQ(e.Operation(), c.operation);
      EXPECT_EQ(e.Call(), L"GetActiveWindow");
      EXPECT_NE(std::string(e.what()).find("no active window"), std::string::npos);
    }
  }
  EXPECT_TRUE(spy.fileCalls.empty());
  EXPECT_TRUE(spy.browseCalls.empty());
  EXPECT_EQ(dlg.FileName(), L"kept");
}

TEST(cDialogError, DescribesOperationCallCodeAndMeaning) {
  const auto e = cDialogError::FromCommDlgError(L"ShowSave", L"GetSaveFileNameW", CDERR_STRUCTSIZE);
  EXPECT_EQ(
      e.Describe(),
      L"ShowSave: GetSaveFileNameW: error 0x1: CDERR_STRUCTSIZE: the record's size is invalid");
  EXPECT_EQ(std::string(e.what()), mText::ToUtf8(e.Describe()));
  const auto com = cPlatformError::FromHresult(L"BrowseForFolder", L"apartment", L"CoInitializeEx",
                                               RPC_E_CHANGED_MODE);
  EXPECT_EQ(com.Code(), 0x80010106u);
  EXPECT_FALSE(com.SystemText().empty());
  EXPECT_NE(com.Describe().find(L"error 0x80010106"), std::wstring::npos) << com.what();
}

}  // namespace
