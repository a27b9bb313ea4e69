#pragma once
// Platform calls for cCommonDialog that note what the platform is handed, at the moment it is
// handed over, and then pass it on to the real entry points.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "DialogPlatform.h"

// One GetOpenFileNameW or GetSaveFileNameW call.
struct FileCall {
  OPENFILENAMEW record;  // as handed over (the platform writes into the live one)
  std::wstring file;     // the whole file buffer, nMaxFile characters
  // Each text field up to and including its two NULs; nullopt for a null pointer.
  std::optional<std::wstring> filter, initialDir, title, defaultExt;
  BOOL result = FALSE;
  DWORD filterIndexAfter = 0;  // what the platform left in nFilterIndex
};

struct BrowseCall {
  BROWSEINFOW record;                  // as handed over; its pointers are not valid after the call
  std::optional<std::wstring> prompt;  // up to and including its two NULs
  PIDLIST_ABSOLUTE returned = nullptr;
};

class cPlatformSpy {
 public:
  std::vector<FileCall> fileCalls;
  std::vector<BrowseCall> browseCalls;
  // The shell calls in the order made: "browse", "path", "free"; with the list they were given.
  std::vector<std::pair<std::string, const void*>> shellCalls;
  // Stands in for SHGetPathFromIDListW when set (for a platform that writes nothing).
  std::function<BOOL(PCIDLIST_ABSOLUTE, wchar_t*)> pathStandIn;

  DialogPlatform Platform();
};
