#include "cGivenNames.h"

#include <utility>

cGivenNames::cGivenNames(mBackupNames::Fold fold) : m_Fold(std::move(fold)) {}

void cGivenNames::Reserve(const std::wstring& ownName) { m_Reserved.insert(m_Fold(ownName)); }

void cGivenNames::Withhold(const std::wstring& name) { m_Given.insert(m_Fold(name)); }

std::wstring cGivenNames::Give(const std::wstring& ownName, bool folder) {
  const std::wstring folded = m_Fold(ownName);
  std::wstring name = ownName;
  if (m_Given.count(folded)) {
    int& n = m_LastNumber.try_emplace(folded, 1).first->second;
    do name = mBackupNames::Numbered(ownName, ++n, folder);
    while (m_Given.count(m_Fold(name)) || m_Reserved.count(m_Fold(name)));
  }
  m_Given.insert(m_Fold(name));
  return name;
}

bool cGivenNames::Claim(const std::wstring& name) { return !name.empty() && m_Given.insert(m_Fold(name)).second; }
