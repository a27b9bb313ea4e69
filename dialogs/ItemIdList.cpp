#include "ItemIdList.h"

#include <utility>

ItemIdList::ItemIdList(PIDLIST_ABSOLUTE list, Free free) : m_List(list), m_Free(std::move(free)) {}

ItemIdList::~ItemIdList() { Reset(); }

ItemIdList::ItemIdList(ItemIdList&& other) noexcept
    : m_List(std::exchange(other.m_List, nullptr)), m_Free(std::move(other.m_Free)) {}

ItemIdList& ItemIdList::operator=(ItemIdList&& other) noexcept {
  if (this != &other) {
    Reset();
    m_List = std::exchange(other.m_List, nullptr);
    m_Free = std::move(other.m_Free);
  }
  return *this;
}

void ItemIdList::Reset() noexcept {
  if (m_List) m_Free(std::exchange(m_List, nullptr));
}
