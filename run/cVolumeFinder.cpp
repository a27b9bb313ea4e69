#include "cVolumeFinder.h"

#include <algorithm>
#include <utility>

#include "mBoundedWait.h"
#include "mFileSys.h"

namespace {

// Roots come back from the system in its own case ("E:\\"), and from a job file in the user's.
std::wstring FoldedRoot(std::wstring root) {
  for (wchar_t& c : root)
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  return root;
}

bool StartsWith(const std::wstring& path, const std::wstring& root) {
  return !root.empty() && path.size() >= root.size() && FoldedRoot(path.substr(0, root.size())) == FoldedRoot(root);
}

}  // namespace

cVolumeFinder::System cVolumeFinder::ThisMachine() {
  return {mFileSys::VolumeRoot, mFileSys::VolumeSerial, mFileSys::VolumeLabel, mFileSys::VolumeRoots};
}

cVolumeFinder::cVolumeFinder(System system, std::chrono::milliseconds bound) : m_System(std::move(system)), m_Bound(bound) {}

// Asks the roots not asked yet all at once, so that several volumes that do not answer cost
// one bound, not one each. The questions run on threads that may outlive the finder: each
// takes copies of what it needs.
void cVolumeFinder::AskAt(const std::vector<std::wstring>& roots) {
  std::vector<std::wstring> keys;
  std::vector<std::function<Identity()>> questions;
  for (const std::wstring& root : roots) {
    const std::wstring key = FoldedRoot(root);
    if (m_Identities.count(key) || std::find(keys.begin(), keys.end(), key) != keys.end()) continue;
    keys.push_back(key);
    questions.push_back([serialOf = m_System.serialOf, labelOf = m_System.labelOf, root] {
      Identity identity{serialOf(root), {}};
      if (identity.serial) identity.label = labelOf(root);
      return identity;
    });
  }
  const auto answers = mBoundedWait::AskAll(m_Bound, std::move(questions));
  for (std::size_t i = 0; i < keys.size(); ++i) m_Identities.emplace(keys[i], answers[i].value_or(Identity{}));
}

const cVolumeFinder::Identity& cVolumeFinder::IdentityAt(const std::wstring& root) {
  AskAt({root});
  return m_Identities.at(FoldedRoot(root));
}

// A file lies on its folder's volume, so a pick of many files from one folder asks once; a
// folder entry may be a volume of its own (a mount point).
std::wstring cVolumeFinder::RootOf(const std::wstring& path) {
  const auto cut = path.find_last_of(L"\\/");
  const bool folderEntry = cut == std::wstring::npos || cut + 1 == path.size();
  const std::wstring folder = folderEntry ? path : path.substr(0, cut + 1);
  if (const auto known = m_Roots.find(folder); known != m_Roots.end()) return known->second;
  std::function<std::wstring()> ask = [rootOf = m_System.rootOf, path] { return rootOf(path); };
  return m_Roots.emplace(folder, mBoundedWait::Ask(m_Bound, std::move(ask)).value_or(L"")).first->second;
}

std::optional<mSourceVolume::Volume> cVolumeFinder::Of(const std::wstring& path) {
  const std::wstring root = path.empty() ? L"" : RootOf(path);
  if (!StartsWith(path, root)) return std::nullopt;
  const Identity& identity = IdentityAt(root);
  if (!identity.serial) return std::nullopt;
  return mSourceVolume::Volume{*identity.serial, root, identity.label};
}

std::optional<std::uint32_t> cVolumeFinder::SerialAt(const std::wstring& root) { return IdentityAt(root).serial; }

cVolumeFinder::Place cVolumeFinder::Find(const mSourceVolume::Volume& volume) {
  if (SerialAt(volume.root) == volume.serial) return {Place::Kind::Mounted, volume.root, {}};
  if (!m_Mounted) {
    std::function<std::vector<std::wstring>()> ask = m_System.roots;
    m_Mounted = mBoundedWait::Ask(m_Bound, std::move(ask)).value_or(std::vector<std::wstring>{});
  }
  AskAt(*m_Mounted);
  std::vector<std::wstring> found;
  for (const std::wstring& root : *m_Mounted)
    if (FoldedRoot(root) != FoldedRoot(volume.root) && SerialAt(root) == volume.serial) found.push_back(root);
  if (found.empty()) return {};
  if (found.size() > 1) return {Place::Kind::Ambiguous, {}, found};
  return {Place::Kind::Mounted, found.front(), {}};
}

std::wstring cVolumeFinder::BoundedLabel(const std::wstring& root) {
  return mBoundedWait::Ask<std::wstring>(kBound, [root] { return mFileSys::VolumeLabel(root); }).value_or(L"");
}
