#include "mLongPath.h"

namespace mLongPath {
namespace {

constexpr std::size_t kShortLimit = 248;  // CreateDirectory's limit; files allow 259

bool IsDriveAbsolute(const std::wstring& p) {
  return p.size() >= 3 && p[1] == L':' && p[2] == L'\\';
}

bool IsUnc(const std::wstring& p) {
  return p.size() >= 3 && p[0] == L'\\' && p[1] == L'\\' && p[2] != L'?' && p[2] != L'.';
}

// The \\?\ form skips normalisation, so only clean paths may take it.
bool IsClean(const std::wstring& p) {
  return p.find(L'/') == std::wstring::npos && p.find(L"\\.\\") == std::wstring::npos &&
         p.find(L"\\..\\") == std::wstring::npos;
}

}  // namespace

std::wstring ForSystem(const std::wstring& path) {
  if (path.size() < kShortLimit || !IsClean(path)) return path;
  if (IsDriveAbsolute(path)) return L"\\\\?\\" + path;
  if (IsUnc(path)) return L"\\\\?\\UNC\\" + path.substr(2);
  return path;
}

bool HasInvalidNameCharacter(const std::wstring& path) {
  std::size_t start = path.rfind(LR"(\\?\)", 0) == 0 ? 4 : 0;
  if (path.size() >= start + 2 && path[start + 1] == L':') start += 2;
  for (std::size_t i = start; i < path.size(); ++i) {
    const wchar_t c = path[i];
    if (c < 32 || c == L'<' || c == L'>' || c == L':' || c == L'"' || c == L'|' || c == L'?' ||
        c == L'*')
      return true;
  }
  return false;
}

}  // namespace mLongPath
