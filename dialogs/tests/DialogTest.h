#pragma once
// The setting of the tests that show real dialogs: an active application window to own them, a
// folder with files to pick, the object under test on recording platform calls, and a watchdog.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

#include "cCommonDialog.h"
#include "cDialogDriver.h"
#include "cPlatformSpy.h"
#include "cTestDir.h"
#include "cTestWindow.h"
#include "cWatchdog.h"

class DialogTest : public testing::Test {
 protected:
  // One application window for a whole suite: destroying a window costs Wine seconds when no
  // window manager runs.
  static void SetUpTestSuite() { s_Window = std::make_unique<cTestWindow>(); }
  static void TearDownTestSuite() { s_Window.reset(); }
  void SetUp() override {
    ASSERT_EQ(GetActiveWindow(), window.Handle());
    GetCurrentDirectoryW(MAX_PATH, m_StartDir);
  }
  // The file dialogs move the current directory to the folder picked in them, where it would
  // keep the test folder from being removed.
  void TearDown() override { SetCurrentDirectoryW(m_StartDir); }

  // Calls `show` (which shows a dialog on this thread) while `script` plays the user.
  template <class Show>
  auto Drive(cDialogDriver::Script script, Show show) {
    cDialogDriver driver(window.Handle(), std::move(script));
    auto result = show();
    EXPECT_EQ(driver.Finish(), "");
    EXPECT_FALSE(watchdog.Fired()) << "the watchdog had to cancel a dialog";
    mHostPump::DispatchFor(50);
    return result;
  }

  // A file with a little content in the test folder; returns its full path.
  std::wstring MakeFile(const std::wstring& name) {
    dir.Write(name, Pattern(16));
    return dir.Path(name);
  }

  inline static std::unique_ptr<cTestWindow> s_Window;
  cTestDir dir;
  const cTestWindow& window = *s_Window;
  cPlatformSpy spy;
  cCommonDialog dlg{spy.Platform()};
  cWatchdog watchdog{"a dialog test", std::chrono::seconds(60)};

 private:
  wchar_t m_StartDir[MAX_PATH] = {};
};

// A literal with embedded NULs, without its terminating one.
template <std::size_t N>
std::wstring Nuls(const wchar_t (&text)[N]) {
  return std::wstring(text, N - 1);
}

// Waits for the file dialog and presses Cancel.
inline void CancelFileDialog(cDialogDriver& d) {
  const HWND dialog = d.WaitForDialog();
  d.WaitForFileDialog(dialog);
  cDialogDriver::Click(dialog, IDCANCEL);
  d.WaitForClose(dialog);
}

// Opens `folder` in the file dialog, types `names` and presses the OK button.
inline cDialogDriver::Script PickIn(std::wstring folder, std::wstring names) {
  return [folder, names](cDialogDriver& d) {
    const HWND dialog = d.WaitForDialog();
    d.GoToFolder(dialog, folder);
    d.Confirm(dialog, names);
    d.WaitForClose(dialog);
  };
}
