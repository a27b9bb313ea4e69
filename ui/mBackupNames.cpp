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
  std::set<std::wstring> ownNames;
  for (const auto& source : sources) ownNames.insert(fold(mFileHlp::GetFileName(source)));
  std::vector<std::wstring> names;
  names.reserve(sources.size());
  std::map<std::wstring, std::wstring> bySource;
  std::set<std::wstring> taken;
  std::map<std::wstring, int> lastNumber;  // per own name, so many duplicates stay linear
  for (const auto& source : sources) {
    const auto [place, added] = bySource.try_emplace(fold(source));
    if (added) {
      const std::wstring name = mFileHlp::GetFileName(source);
      std::wstring candidate = name;
      if (taken.count(fold(name))) {
        int& n = lastNumber.try_emplace(fold(name), 1).first->second;
        do candidate = Numbered(name, ++n);
        while (ownNames.count(fold(candidate)) || taken.count(fold(candidate)));
      }
      taken.insert(fold(candidate));
      place->second = std::move(candidate);
    }
    names.push_back(place->second);
  }
  return names;
}

}  // namespace mBackupNames
