#include "DialogPlatform.h"

DialogPlatform DialogPlatform::System() {
  DialogPlatform platform;
  platform.OpenFile = [](OPENFILENAMEW* record) { return GetOpenFileNameW(record); };
  platform.SaveFile = [](OPENFILENAMEW* record) { return GetSaveFileNameW(record); };
  platform.ExtendedError = [] { return CommDlgExtendedError(); };
  platform.BrowseFolder = [](BROWSEINFOW* record) { return SHBrowseForFolderW(record); };
  platform.PathFromIdList = [](PCIDLIST_ABSOLUTE list, wchar_t* path) {
    return SHGetPathFromIDListW(list, path);
  };
  platform.FreeIdList = [](void* list) { CoTaskMemFree(list); };
  return platform;
}
