#pragma once
// Reads a resource of the test executable itself, as the program reads its own.
#include <windows.h>

#include <cstddef>
#include <cstring>
#include <span>

// The bytes of a resource of this module, or an empty span if there is none.
inline std::span<const std::byte> ModuleResource(LPCWSTR type, LPCWSTR name, WORD language) {
  HRSRC found = FindResourceExW(nullptr, type, name, language);
  if (!found) return {};
  HGLOBAL loaded = LoadResource(nullptr, found);  // module resources need no freeing
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return {};
  return {static_cast<const std::byte*>(data), SizeofResource(nullptr, found)};
}

// Copies a structure out of resource bytes; resources need not be aligned for it.
template <typename T>
T ReadAt(std::span<const std::byte> bytes, std::size_t offset) {
  T value{};
  if (offset + sizeof(T) <= bytes.size()) std::memcpy(&value, bytes.data() + offset, sizeof(T));
  return value;
}

constexpr WORD kNeutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
constexpr WORD kChinesePrc = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);
constexpr WORD kEnglishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
