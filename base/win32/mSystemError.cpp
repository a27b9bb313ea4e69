#include "mSystemError.h"

#include <windows.h>

namespace mSystemError {

std::uint32_t LastCode() { return GetLastError(); }

std::wstring Text(std::uint32_t code) {
  wchar_t* text = nullptr;
  const DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring out = n ? std::wstring(text, n) : L"";
  if (text) LocalFree(text);
  while (!out.empty() && (out.back() == L'\n' || out.back() == L'\r' || out.back() == L' ' ||
                          out.back() == L'.'))
    out.pop_back();
  if (out.empty()) out = L"error " + std::to_wstring(code);
  return out;
}

bool IsNotFound(std::uint32_t code) { return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND; }

}  // namespace mSystemError
