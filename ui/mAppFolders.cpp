#include "mAppFolders.h"

#include <windows.h>
#include <shlobj.h>

#include "cPlatformError.h"

namespace mAppFolders {
namespace {

constexpr wchar_t kProgramFolder[] = L"\\OmbrivoBeta";

std::wstring FromEnvironment(const wchar_t* name) {
  const DWORD length = GetEnvironmentVariableW(name, nullptr, 0);
  if (length == 0) return {};
  std::wstring value(length, L'\0');
  value.resize(GetEnvironmentVariableW(name, value.data(), length));
  return value;
}

std::wstring Folder(const wchar_t* variable, const KNOWNFOLDERID& known) {
  std::wstring base = FromEnvironment(variable);
  if (base.empty()) {
    PWSTR path = nullptr;
    const HRESULT result = SHGetKnownFolderPath(known, 0, nullptr, &path);
    if (SUCCEEDED(result)) base = path;
    CoTaskMemFree(path);
    if (FAILED(result)) throw cPlatformError::FromHresult(L"find the program's folder", variable, L"SHGetKnownFolderPath", result);
  }
  while (!base.empty() && (base.back() == L'\\' || base.back() == L'/')) base.pop_back();
  return base + kProgramFolder;
}

}  // namespace

std::wstring Roaming() { return Folder(L"APPDATA", FOLDERID_RoamingAppData); }

std::wstring Local() { return Folder(L"LOCALAPPDATA", FOLDERID_LocalAppData); }

std::wstring Logs() { return Local() + L"\\日志"; }

}  // namespace mAppFolders
