#include "cSourceGuard.h"

#include <utility>

namespace {

// Whether `path` is `folder` or lies below it (both folded, without a final backslash).
bool AtOrBelow(const std::wstring& path, const std::wstring& folder) {
  return path.size() >= folder.size() && path.compare(0, folder.size(), folder) == 0 &&
         (path.size() == folder.size() || path[folder.size()] == L'\\');
}

}  // namespace

cSourceGuard::cSourceGuard(const std::vector<std::wstring>& sources, const std::wstring& destination,
                           mBackupNames::Fold fold)
    : m_Fold(std::move(fold)), m_Destination(Key(destination)) {
  for (const std::wstring& source : sources) {
    const std::wstring key = Key(source);
    if (!mBackupNames::IsFolder(source))
      m_Files.insert(key);
    else if (key != m_Destination && AtOrBelow(key, m_Destination))
      m_ExposedFolders.push_back(key);
  }
}

std::wstring cSourceGuard::Key(const std::wstring& path) const {
  std::wstring key = m_Fold(path);
  while (!key.empty() && key.back() == L'\\') key.pop_back();
  return key;
}

cSourceGuard::Refusal cSourceGuard::Check(const std::wstring& source, const std::wstring& path) const {
  const std::wstring target = Key(path);
  const auto whose = [&](const std::wstring& listed) {
    return Key(source) == listed ? Refusal::Itself : Refusal::AnotherSource;
  };
  if (m_Files.count(target)) return whose(target);
  for (const std::wstring& folder : m_ExposedFolders)
    if (AtOrBelow(target, folder)) return whose(folder);
  return Refusal::None;
}

bool cSourceGuard::IsDestination(const std::wstring& folder) const { return Key(folder) == m_Destination; }

std::wstring cSourceGuard::Reason(Refusal refusal) {
  switch (refusal) {
    case Refusal::Itself: return L"备份会写在源文件本身上：目标文件夹就是它所在的位置。";
    case Refusal::AnotherSource: return L"备份会覆盖列表中的另一个源文件或文件夹。";
    case Refusal::DestinationIsFolder: return L"备份目标文件夹就是这个文件夹本身。";
    case Refusal::None: break;
  }
  return {};
}
