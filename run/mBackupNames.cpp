#include "mBackupNames.h"

#include "mFileHlp.h"

namespace mBackupNames {

bool IsMarked(const std::wstring& entry) { return !entry.empty() && entry.front() == kDoneMark; }

std::wstring SourceOf(const std::wstring& entry) {
  return IsMarked(entry) ? entry.substr(1) : entry;
}

bool IsFolder(const std::wstring& source) { return !source.empty() && source.back() == L'\\'; }

std::wstring OwnName(const std::wstring& source, const RootName& rootName) {
  if (!IsFolder(source)) return mFileHlp::GetFileName(source);
  std::wstring path = source;
  while (!path.empty() && path.back() == L'\\') path.pop_back();
  const std::wstring name = mFileHlp::GetFileName(path);
  if (!name.empty() && name.back() != L':') return name;
  // A drive root: "E:" before its backslash.
  std::wstring label = rootName ? rootName(source) : std::wstring();
  if (label.empty()) label = path.substr(0, path.find(L':'));
  return label;
}

std::wstring Numbered(const std::wstring& fileName, int n, bool folder) {
  const std::wstring suffix = L" (" + std::to_wstring(n) + L")";
  const auto dot = fileName.rfind(L'.');
  if (folder || dot == std::wstring::npos || dot == 0) return fileName + suffix;
  return fileName.substr(0, dot) + suffix + fileName.substr(dot);
}

}  // namespace mBackupNames
