#include "cLayoutProperties.h"

#include <stdexcept>

#include "mText.h"

template <class T>
T cLayoutProperties::Read(const std::wstring& name, const T& defaultValue) const {
  const auto found = m_Values.find(name);
  if (found == m_Values.end()) return defaultValue;
  if (const T* value = std::get_if<T>(&found->second)) return *value;
  throw std::invalid_argument("layout value \"" + mText::ToUtf8(name) +
                              "\" is stored with another type");
}

template <class T>
void cLayoutProperties::Write(const std::wstring& name, const T& value, const T& defaultValue) {
  if (value == defaultValue)
    m_Values.erase(name);
  else
    m_Values.insert_or_assign(name, Value{value});
}

bool cLayoutProperties::ReadProperty(const std::wstring& name, bool defaultValue) const {
  return Read(name, defaultValue);
}

std::int32_t cLayoutProperties::ReadProperty(const std::wstring& name,
                                             std::int32_t defaultValue) const {
  return Read(name, defaultValue);
}

std::wstring cLayoutProperties::ReadProperty(const std::wstring& name,
                                             const std::wstring& defaultValue) const {
  return Read(name, defaultValue);
}

std::wstring cLayoutProperties::ReadProperty(const std::wstring& name,
                                             const wchar_t* defaultValue) const {
  return Read(name, std::wstring(defaultValue));
}

void cLayoutProperties::WriteProperty(const std::wstring& name, bool value, bool defaultValue) {
  Write(name, value, defaultValue);
}

void cLayoutProperties::WriteProperty(const std::wstring& name, std::int32_t value,
                                      std::int32_t defaultValue) {
  Write(name, value, defaultValue);
}

void cLayoutProperties::WriteProperty(const std::wstring& name, const std::wstring& value,
                                      const std::wstring& defaultValue) {
  Write(name, value, defaultValue);
}

void cLayoutProperties::WriteProperty(const std::wstring& name, const wchar_t* value,
                                      const wchar_t* defaultValue) {
  Write(name, std::wstring(value), std::wstring(defaultValue));
}
