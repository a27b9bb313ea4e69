#include "mWindowsNames.h"

#include <windows.h>

namespace mWindowsNames {

std::wstring Folded(std::wstring name) {
  if (!name.empty()) CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
  return name;
}

}  // namespace mWindowsNames
