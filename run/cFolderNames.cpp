#include "cFolderNames.h"

#include <algorithm>
#include <cstdint>
#include <unordered_set>
#include <utility>
#include <vector>

namespace {

std::uint64_t HashOf(const std::wstring& folded) {
  std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (const wchar_t c : folded) hash = (hash ^ static_cast<std::uint32_t>(c)) * 1099511628211ull;
  return hash;
}

// The items' own names by the hash of their folded form: which of them fold alike, and whether
// a name folds like any of them.
class cFoldedIndex {
 public:
  cFoldedIndex(const cFolderItems& items, const mBackupNames::Fold& fold) : m_Items(items), m_Fold(fold) {
    m_Hashes.reserve(items.Size());
    for (std::size_t i = 0; i < items.Size(); ++i) m_Hashes.emplace_back(HashOf(Folded(i)), i);
    std::sort(m_Hashes.begin(), m_Hashes.end());
  }

  // The items whose own name folds like that of an item before them.
  std::vector<std::size_t> Repeated() const {
    std::vector<std::size_t> repeated;
    for (std::size_t first = 0; first < m_Hashes.size();) {
      std::size_t end = first + 1;
      while (end < m_Hashes.size() && m_Hashes[end].first == m_Hashes[first].first) ++end;
      for (std::size_t a = first + 1; a < end; ++a) {
        const std::wstring folded = Folded(m_Hashes[a].second);
        for (std::size_t b = first; b < a; ++b)
          if (Folded(m_Hashes[b].second) == folded) {
            repeated.push_back(m_Hashes[a].second);  // pairs are sorted by item too
            break;
          }
      }
      first = end;
    }
    std::sort(repeated.begin(), repeated.end());
    return repeated;
  }

  bool HasOwnName(const std::wstring& folded) const {
    const std::uint64_t hash = HashOf(folded);
    for (auto at = std::lower_bound(m_Hashes.begin(), m_Hashes.end(), std::pair<std::uint64_t, std::size_t>(hash, 0));
         at != m_Hashes.end() && at->first == hash; ++at)
      if (Folded(at->second) == folded) return true;
    return false;
  }

 private:
  std::wstring Folded(std::size_t i) const { return m_Fold(std::wstring(m_Items.Name(i))); }

  const cFolderItems& m_Items;
  const mBackupNames::Fold& m_Fold;
  std::vector<std::pair<std::uint64_t, std::size_t>> m_Hashes;
};

}  // namespace

cFolderNames::cFolderNames(const cFolderItems& items, const mBackupNames::Fold& fold) {
  const cFoldedIndex index(items, fold);
  std::unordered_set<std::wstring> given;              // folded, the numbered names only
  std::unordered_map<std::wstring, int> lastNumber;  // per folded own name, so many alike stay linear
  for (const std::size_t i : index.Repeated()) {
    const std::wstring own(items.Name(i));
    int& n = lastNumber.try_emplace(fold(own), 1).first->second;
    std::wstring name;
    do name = mBackupNames::Numbered(own, ++n, items.IsFolder(i));
    while (index.HasOwnName(fold(name)) || given.count(fold(name)));
    given.insert(fold(name));
    m_Numbered.emplace(i, std::move(name));
  }
}

std::wstring cFolderNames::Of(const cFolderItems& items, std::size_t i) const {
  const auto numbered = m_Numbered.find(i);
  return numbered != m_Numbered.end() ? numbered->second : std::wstring(items.Name(i));
}
