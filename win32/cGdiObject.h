#pragma once
// Owns one GDI object (font, bitmap, brush) and deletes it once.
#include <windows.h>

#include <utility>

template <class Handle>
class cGdiObject {
 public:
  cGdiObject() = default;
  explicit cGdiObject(Handle handle) noexcept : m_Handle(handle) {}
  cGdiObject(cGdiObject&& other) noexcept : m_Handle(std::exchange(other.m_Handle, nullptr)) {}
  cGdiObject& operator=(cGdiObject&& other) noexcept {
    if (this != &other) {
      Reset();
      m_Handle = std::exchange(other.m_Handle, nullptr);
    }
    return *this;
  }
  cGdiObject(const cGdiObject&) = delete;
  cGdiObject& operator=(const cGdiObject&) = delete;
  ~cGdiObject() { Reset(); }

  Handle Get() const noexcept { return m_Handle; }
  explicit operator bool() const noexcept { return m_Handle != nullptr; }
  void Reset() noexcept {
    if (m_Handle) DeleteObject(m_Handle);
    m_Handle = nullptr;
  }

 private:
  Handle m_Handle = nullptr;
};
