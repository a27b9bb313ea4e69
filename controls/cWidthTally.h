#pragma once
// How many entries of a list have each width, so that the widest is known at once after any entry
// changes or goes, however many entries share a width, without measuring the others again.
#include <cstdint>
#include <map>

class cWidthTally {
 public:
  void Add(std::int32_t width) { ++m_Entries[width]; }
  // One entry of this width went; a width no entry was counted with is ignored.
  void Remove(std::int32_t width);
  void Clear() noexcept { m_Entries.clear(); }
  bool Empty() const noexcept { return m_Entries.empty(); }
  // 0 when no entry is counted.
  std::int32_t Widest() const noexcept { return m_Entries.empty() ? 0 : m_Entries.rbegin()->first; }

 private:
  std::map<std::int32_t, std::int32_t> m_Entries;  // width -> entries of that width
};
