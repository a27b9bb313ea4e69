#include "mBackupNames.h"

#include <map>
#include <set>

#include "mFileHlp.h"

namespace mBackupNames {

bool IsMarked(const std::wstring& entry) { return !entry.empty() && entry.front() == kDoneMark; }

std::wstring SourceOf(const std::wstring& entry) {
  return IsMarked(entry) ? entry.substr(1) : entry;
}

std::wstring Numbered(const std::wstring& fileName, int n) {
  const std::wstring suffix = L" (" + std::to_wstring(n) + L")";
  const auto dot = fileName.rfind(L'.');
  if (dot == std::wstring::npos || dot == 0) return fileName + suffix;
  return fileName.substr(0, dot) + suffix + fileName.substr(dot);
}

std::vector<std::wstring> DestinationNames(const std::vector<std::wstring>& sources, const Fold& fold) {
  std::vector<std::wstring> names;
  names.reserve(sources.size());
  std::set<std::wstring> taken;
  std::map<std::wstring, int> seen;
  for (const auto& source : sources) {
    const std::wstring name = mFileHlp::GetFileName(source);
    const std::wstring key = fold(name);
    int n = ++seen[key];
    std::wstring candidate = n == 1 ? name : Numbered(name, n);
    while (taken.count(fold(candidate))) candidate = Numbered(name, ++n);
    taken.insert(fold(candidate));
    names.push_back(candidate);
  }
  return names;
}

}  // namespace mBackupNames
