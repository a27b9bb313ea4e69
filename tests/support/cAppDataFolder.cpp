#include "cAppDataFolder.h"

#include <windows.h>

namespace {

std::wstring Variable(const wchar_t* name) {
  wchar_t value[32768] = {};
  return GetEnvironmentVariableW(name, value, 32768) ? value : L"";
}

void Restore(const wchar_t* name, const std::wstring& value) {
  SetEnvironmentVariableW(name, value.empty() ? nullptr : value.c_str());
}

}  // namespace

cAppDataFolder::cAppDataFolder(const std::wstring& folder)
    : m_Folder(folder), m_OldRoaming(Variable(L"APPDATA")), m_OldLocal(Variable(L"LOCALAPPDATA")) {
  SetEnvironmentVariableW(L"APPDATA", folder.c_str());
  SetEnvironmentVariableW(L"LOCALAPPDATA", folder.c_str());
}

cAppDataFolder::~cAppDataFolder() {
  Restore(L"APPDATA", m_OldRoaming);
  Restore(L"LOCALAPPDATA", m_OldLocal);
}
