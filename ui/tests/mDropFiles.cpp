#include "mDropFiles.h"

#include <shlobj.h>

#include <cstring>

#include "cPlatformError.h"

namespace mDropFiles {

HDROP Make(const std::vector<std::wstring>& paths) {
  std::wstring names;
  for (const auto& path : paths) names += path + L'\0';
  names += L'\0';
  const SIZE_T bytes = sizeof(DROPFILES) + names.size() * sizeof(wchar_t);
  HGLOBAL block = GlobalAlloc(GHND, bytes);
  if (!block) throw cPlatformError::FromLastError(L"drop files", std::to_wstring(paths.size()) + L" paths", L"GlobalAlloc");
  auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(), names.size() * sizeof(wchar_t));
  GlobalUnlock(block);
  return static_cast<HDROP>(block);
}

}  // namespace mDropFiles
