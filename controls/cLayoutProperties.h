#pragma once
// The named values a control saves with its host's layout. A value is read with the default
// that a missing name stands for, and written together with its default: a value equal to
// its default is not stored (and one stored before is dropped), so a layout holds only what
// differs from a fresh control.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <variant>

class cLayoutProperties {
 public:
  using Value = std::variant<bool, std::int32_t, std::wstring>;

  // The stored value, or defaultValue when the name is not stored. A value stored under the
  // name with another type is a corrupt layout: std::invalid_argument.
  bool ReadProperty(const std::wstring& name, bool defaultValue) const;
  std::int32_t ReadProperty(const std::wstring& name, std::int32_t defaultValue) const;
  std::wstring ReadProperty(const std::wstring& name, const std::wstring& defaultValue) const;
  // Without this overload a literal default would turn into a bool.
  std::wstring ReadProperty(const std::wstring& name, const wchar_t* defaultValue) const;

  void WriteProperty(const std::wstring& name, bool value, bool defaultValue);
  void WriteProperty(const std::wstring& name, std::int32_t value, std::int32_t defaultValue);
  void WriteProperty(const std::wstring& name, const std::wstring& value,
                     const std::wstring& defaultValue);
  void WriteProperty(const std::wstring& name, const wchar_t* value, const wchar_t* defaultValue);

  bool Contains(const std::wstring& name) const { return m_Values.count(name) != 0; }
  std::size_t Count() const noexcept { return m_Values.size(); }
  const std::map<std::wstring, Value>& Values() const noexcept { return m_Values; }

 private:
  template <class T>
  T Read(const std::wstring& name, const T& defaultValue) const;
  template <class T>
  void Write(const std::wstring& name, const T& value, const T& defaultValue);

  std::map<std::wstring, Value> m_Values;
};
