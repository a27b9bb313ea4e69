#include "cFolderItems.h"

#include <algorithm>
#include <stdexcept>
#include <tuple>

namespace {

// Characters in a block of names; a name is at most 32,767 characters, so any fits one.
constexpr std::size_t kBlockChars = 32 * 1024;

}  // namespace

void cFolderItems::Add(const cFolderListing::Item& item) { Add(item.name, item); }

void cFolderItems::Add(std::wstring_view name, const cFolderListing::Item& item) {
  if (name.size() > kBlockChars) throw std::length_error("a name longer than any a file system gives");
  if (m_Names.empty() || m_Names.back().size() + name.size() > kBlockChars) {
    m_Names.emplace_back();
    m_Names.back().reserve(kBlockChars);
  }
  std::wstring& block = m_Names.back();
  m_Records.push_back({item.bytes, item.written, static_cast<std::uint32_t>(m_Names.size() - 1),
                       static_cast<std::uint16_t>(block.size()), static_cast<std::uint16_t>(name.size()),
                       item.attributes, item.reparseTag});
  block.append(name);
}

void cFolderItems::Keep(const std::function<bool(std::size_t)>& keep) {
  std::size_t kept = 0;
  for (std::size_t i = 0; i < m_Records.size(); ++i)
    if (keep(i)) m_Records[kept++] = m_Records[i];
  m_Records.resize(kept);
}

// Names listed twice (alike once folded) stay in the order they were added: names are added
// block by block, so their places order them.
void cFolderItems::Sort() {
  std::sort(m_Records.begin(), m_Records.end(), [this](const Record& a, const Record& b) {
    const int order = NameOf(a).compare(NameOf(b));
    return order != 0 ? order < 0 : std::tie(a.nameBlock, a.nameAt) < std::tie(b.nameBlock, b.nameAt);
  });
}

std::optional<std::size_t> cFolderItems::Find(std::wstring_view name) const {
  const auto found = std::lower_bound(m_Records.begin(), m_Records.end(), name,
                                      [this](const Record& record, std::wstring_view n) { return NameOf(record) < n; });
  if (found == m_Records.end() || NameOf(*found) != name) return std::nullopt;
  return static_cast<std::size_t>(found - m_Records.begin());
}

std::wstring_view cFolderItems::Name(std::size_t i) const { return NameOf(m_Records[i]); }

std::wstring_view cFolderItems::NameOf(const Record& record) const {
  return std::wstring_view(m_Names[record.nameBlock]).substr(record.nameAt, record.nameLength);
}
