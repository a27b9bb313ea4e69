#include "cItemBackups.h"

#include "mLeftovers.h"

cItemBackups::cItemBackups(const std::wstring& folder, const cFolderItems& items, const cFolderNames& names,
                           const mBackupNames::Fold& fold)
    : m_Listing(folder), m_Items(items), m_Names(names), m_Fold(fold) {}

bool cItemBackups::Read(int& budget) {
  if (m_Listing.Whole()) return true;
  if (!m_Listing.Read(budget, [this](const cFolderListing::Item& item) { Take(item); })) return false;
  m_Others.Sort();  // a name listed twice (alike but for case) has the stamp listed first
  return true;
}

std::optional<mFileSys::FileStamp> cItemBackups::Of(std::size_t i) const {
  if (i < m_Found.size() && m_Found[i]) return m_ByItem[i];
  if (m_Others.Size() == 0) return std::nullopt;
  const auto other = m_Others.Find(m_Fold(m_Names.Of(m_Items, i)));
  if (!other) return std::nullopt;
  return mFileSys::FileStamp{m_Others.Bytes(*other), m_Others.Written(*other)};
}

// A backup under the exact name of an item that keeps its own name is that item's; any other is
// looked up by folded name when asked.
void cItemBackups::Take(const cFolderListing::Item& item) {
  if ((item.attributes & cFolderListing::kDirectory) != 0) return;
  if (mLeftovers::OwnerOf(item.name) && mLeftovers::RemoveIfOrphaned(m_Listing.Folder(), item.name)) return;
  const auto own = m_Items.Find(item.name);
  if (!own || m_Names.Numbered(*own)) return m_Others.Add(m_Fold(item.name), item);
  if (m_Found.empty()) {
    m_ByItem.resize(m_Items.Size());
    m_Found.resize(m_Items.Size());
  }
  m_ByItem[*own] = {item.bytes, item.written};
  m_Found[*own] = true;
}
