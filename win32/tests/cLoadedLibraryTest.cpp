// A system library loaded on first use, and what a missing one or a missing entry reports.
#include <gtest/gtest.h>

#include <windows.h>
#include <commdlg.h>

#include "cLoadedLibrary.h"

namespace {

TEST(LoadedLibrary, GivesAnEntryOfTheSystemsLibraryAndNamesWhatIsMissing) {
  const cLoadedLibrary library(L"comdlg32.dll");
  EXPECT_EQ(library.Entry<decltype(CommDlgExtendedError)>("CommDlgExtendedError")(), 0u);

  const struct {
    const char* what;
    void (*load)();
    const wchar_t* subject;
    const wchar_t* call;
  } rows[] = {
      {"a library the system lacks", [] { cLoadedLibrary(L"nosuch-omb.dll"); }, L"nosuch-omb.dll", L"LoadLibraryExW"},
      {"an entry the library lacks",
       [] { cLoadedLibrary(L"comdlg32.dll").Entry<void()>("NoSuchEntry"); }, L"comdlg32.dll!NoSuchEntry", L"GetProcAddress"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    try {
      row.load();
      ADD_FAILURE() << "nothing thrown";
    } catch (const cPlatformError& error) {
      EXPECT_EQ(error.Subject(), row.subject);
      EXPECT_EQ(error.Call(), row.call);
      EXPECT_NE(error.Code(), 0u);
    }
  }
}

}  // namespace
