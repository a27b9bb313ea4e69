#include "cFolderItems.h"

#include <algorithm>
#include <stdexcept>

void cFolderItems::Add(const cFolderListing::Item& item) { Add(item.name, item); }

void cFolderItems::Add(std::wstring_view name, const cFolderListing::Item& item) {
  if (m_Names.size() + name.size() > UINT32_MAX) throw std::length_error("a folder's names outgrow their buffer");
  m_Records.push_back({item.bytes, item.written, static_cast<std::uint32_t>(m_Names.size()),
                       static_cast<std::uint32_t>(name.size()), item.attributes, item.reparseTag});
  m_Names.append(name);
}

void cFolderItems::Keep(const std::function<bool(std::size_t)>& keep) {
  std::size_t kept = 0;
  for (std::size_t i = 0; i < m_Records.size(); ++i)
    if (keep(i)) m_Records[kept++] = m_Records[i];
  m_Records.resize(kept);
  m_Records.shrink_to_fit();
}

void cFolderItems::Sort() {
  std::stable_sort(m_Records.begin(), m_Records.end(),
                   [this](const Record& a, const Record& b) { return NameOf(a) < NameOf(b); });
}

std::optional<std::size_t> cFolderItems::Find(std::wstring_view name) const {
  const auto found = std::lower_bound(m_Records.begin(), m_Records.end(), name,
                                      [this](const Record& record, std::wstring_view n) { return NameOf(record) < n; });
  if (found == m_Records.end() || NameOf(*found) != name) return std::nullopt;
  return static_cast<std::size_t>(found - m_Records.begin());
}

std::wstring_view cFolderItems::Name(std::size_t i) const { return NameOf(m_Records[i]); }

std::wstring_view cFolderItems::NameOf(const Record& record) const {
  return std::wstring_view(m_Names).substr(record.nameAt, record.nameLength);
}
