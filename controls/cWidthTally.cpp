#include "cWidthTally.h"

void cWidthTally::Remove(std::int32_t width) {
  const auto place = m_Entries.find(width);
  if (place == m_Entries.end()) return;
  if (--place->second == 0) m_Entries.erase(place);
}
