#include "mBackupNames.h"

#include <map>

#include "cGivenNames.h"
#include "mFileHlp.h"
#include "mVersions.h"

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

std::vector<std::wstring> DestinationNames(const std::vector<std::wstring>& sources, const Fold& fold,
                                           const RootName& rootName) {
  cGivenNames given(fold);
  given.Withhold(mVersions::kFolderName);
  for (const auto& source : sources) given.Reserve(OwnName(source, rootName));
  std::vector<std::wstring> names;
  names.reserve(sources.size());
  std::map<std::wstring, std::wstring> bySource;
  for (const auto& source : sources) {
    const auto [place, added] = bySource.try_emplace(fold(source));
    if (added) place->second = given.Give(OwnName(source, rootName), IsFolder(source));
    names.push_back(place->second);
  }
  return names;
}

}  // namespace mBackupNames
