#pragma once
// Owns a shell item identifier list and frees it exactly once (CoTaskMemFree in the program).
#include <windows.h>
#include <shlobj.h>

#include <functional>

class ItemIdList {
 public:
  using Free = std::function<void(void*)>;

  ItemIdList(PIDLIST_ABSOLUTE list, Free free);
  ~ItemIdList();
  ItemIdList(const ItemIdList&) = delete;
  ItemIdList& operator=(const ItemIdList&) = delete;
  ItemIdList(ItemIdList&& other) noexcept;
  ItemIdList& operator=(ItemIdList&& other) noexcept;

  explicit operator bool() const noexcept { return m_List != nullptr; }
  PCIDLIST_ABSOLUTE Get() const noexcept { return m_List; }
  // Frees the list now; afterwards the guard holds nothing.
  void Reset() noexcept;

 private:
  PIDLIST_ABSOLUTE m_List;
  Free m_Free;
};
