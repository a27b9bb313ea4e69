#include "mSystemError.h"

#include <cerrno>
#include <cstring>

#include "mText.h"

namespace mSystemError {

std::uint32_t LastCode() { return static_cast<std::uint32_t>(errno); }

std::wstring Text(std::uint32_t code) {
  char buffer[256] = {};
  // GNU strerror_r returns the text, which may or may not be the buffer.
  const char* text = strerror_r(static_cast<int>(code), buffer, sizeof buffer);
  if (!text || !*text) return L"error " + std::to_wstring(code);
  return mText::FromUtf8(text);
}

bool IsNotFound(std::uint32_t code) { return code == ENOENT || code == ENOTDIR; }

}  // namespace mSystemError
