#include "mFileHlp.h"

namespace mFileHlp {

// The count runs over the whole text, so paths beyond 32,767 characters work as well.
std::wstring GetFileName(const std::wstring& path) {
  std::size_t n = path.size();
  while (n >= 1 && path[n - 1] != L'\\') --n;
  return path.substr(n);
}

std::wstring AddBackslash(const std::wstring& path) {
  if (!path.empty() && path.back() == L'\\') return path;
  return path + L'\\';
}

}  // namespace mFileHlp
