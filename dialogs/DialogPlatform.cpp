#include "DialogPlatform.h"

#include "cLoadedLibrary.h"

namespace {

// Loaded when a file dialog first opens rather than at start: under Wine the common dialog
// library brings the print spooler and the printing libraries with it, about 5 MiB that a
// backup never uses. It stays loaded from then on.
const cLoadedLibrary& CommonDialogs() {
  static const cLoadedLibrary library(L"comdlg32.dll");
  return library;
}

}  // namespace

DialogPlatform DialogPlatform::System() {
  DialogPlatform platform;
  platform.OpenFile = [](OPENFILENAMEW* record) {
    return CommonDialogs().Entry<decltype(GetOpenFileNameW)>("GetOpenFileNameW")(record);
  };
  platform.SaveFile = [](OPENFILENAMEW* record) {
    return CommonDialogs().Entry<decltype(GetSaveFileNameW)>("GetSaveFileNameW")(record);
  };
  platform.ExtendedError = [] { return CommonDialogs().Entry<decltype(CommDlgExtendedError)>("CommDlgExtendedError")(); };
  platform.BrowseFolder = [](BROWSEINFOW* record) { return SHBrowseForFolderW(record); };
  platform.PathFromIdList = [](PCIDLIST_ABSOLUTE list, wchar_t* path) {
    return SHGetPathFromIDListW(list, path);
  };
  platform.FreeIdList = [](void* list) { CoTaskMemFree(list); };
  return platform;
}
