#include "cLoadedLibrary.h"

#include <utility>

#include "mText.h"

cLoadedLibrary::cLoadedLibrary(std::wstring name)
    : m_Name(std::move(name)), m_Module(LoadLibraryExW(m_Name.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
  if (!m_Module) throw cPlatformError::FromLastError(L"Load library", m_Name, L"LoadLibraryExW");
}

cLoadedLibrary::~cLoadedLibrary() { FreeLibrary(m_Module); }

FARPROC cLoadedLibrary::Address(const char* name) const {
  const FARPROC address = GetProcAddress(m_Module, name);
  if (!address) throw cPlatformError::FromLastError(L"Load library", m_Name + L"!" + mText::FromUtf8(name), L"GetProcAddress");
  return address;
}
