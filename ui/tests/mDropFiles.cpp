#include "mDropFiles.h"

#include <shlobj.h>

#include <cstring>

#include "cPlatformError.h"

namespace mDropFiles {
namespace {

HDROP Block(const void* names, SIZE_T namesBytes, bool wide, std::size_t count) {
  HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + namesBytes);
  if (!block) throw cPlatformError::FromLastError(L"drop files", std::to_wstring(count) + L" paths", L"GlobalAlloc");
  auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = wide;
  std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names, namesBytes);
  GlobalUnlock(block);
  return static_cast<HDROP>(block);
}

}  // namespace

HDROP Make(const std::vector<std::wstring>& paths) {
  std::wstring names;
  for (const auto& path : paths) names += path + L'\0';
  names += L'\0';
  return Block(names.data(), names.size() * sizeof(wchar_t), true, paths.size());
}

HDROP MakeAnsi(const std::vector<std::wstring>& paths) {
  std::string names;
  for (const auto& path : paths) {
    const int length = WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string name(static_cast<std::size_t>(length), '\0');  // with its ending null
    WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, name.data(), length, nullptr, nullptr);
    names += name;
  }
  names += '\0';
  return Block(names.data(), names.size(), false, paths.size());
}

}  // namespace mDropFiles
