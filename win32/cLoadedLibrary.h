#pragma once
// A system library loaded by the program itself when it is first needed, rather than by the
// loader at start, and freed with the guard. Loaded from the system folder only, never from the
// program's own folder or the current one.
#include <windows.h>

#include <string>

#include "cPlatformError.h"

class cLoadedLibrary {
 public:
  // Throws cPlatformError.
  explicit cLoadedLibrary(std::wstring name);
  ~cLoadedLibrary();
  cLoadedLibrary(const cLoadedLibrary&) = delete;
  cLoadedLibrary& operator=(const cLoadedLibrary&) = delete;

  // The library's entry point `name`, as a function of the type `Function` that its header
  // declares. Throws cPlatformError.
  template <class Function>
  Function* Entry(const char* name) const {
    // Through the generic function type, which converts to any other without a warning.
    return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(Address(name)));
  }

 private:
  FARPROC Address(const char* name) const;

  std::wstring m_Name;
  HMODULE m_Module;
};
