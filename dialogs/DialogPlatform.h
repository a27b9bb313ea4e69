#pragma once
// The platform calls behind cCommonDialog. The program uses System(); tests hand in calls that
// record what the platform is given before passing it on (or stand in where the real platform
// cannot reach a case).
#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include <functional>

struct DialogPlatform {
  std::function<BOOL(OPENFILENAMEW*)> OpenFile;                     // GetOpenFileNameW
  std::function<BOOL(OPENFILENAMEW*)> SaveFile;                     // GetSaveFileNameW
  std::function<DWORD()> ExtendedError;                             // CommDlgExtendedError
  std::function<PIDLIST_ABSOLUTE(BROWSEINFOW*)> BrowseFolder;       // SHBrowseForFolderW
  std::function<BOOL(PCIDLIST_ABSOLUTE, wchar_t*)> PathFromIdList;  // SHGetPathFromIDListW
  std::function<void(void*)> FreeIdList;                            // CoTaskMemFree

  // The real entry points of comdlg32, shell32 and ole32.
  static DialogPlatform System();
};
