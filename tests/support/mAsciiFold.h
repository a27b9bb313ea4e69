#pragma once
// Names and paths compared without regard to the case of ASCII letters, as the list's and the
// plan's tests fold them in place of the system's own folding.
#include <string>

inline std::wstring AsciiFold(const std::wstring& text) {
  std::wstring folded = text;
  for (auto& c : folded)
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  return folded;
}
