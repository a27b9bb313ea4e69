#include <cerrno>
#include <cstring>

#include "../cFileError.h"
#include "../mText.h"

std::uint32_t LastSystemError() { return static_cast<std::uint32_t>(errno); }

std::wstring SystemErrorText(std::uint32_t code) {
  char buffer[256] = {};
  // GNU strerror_r returns the text, which may or may not be the buffer.
  const char* text = strerror_r(static_cast<int>(code), buffer, sizeof buffer);
  return mText::FromUtf8(text ? text : "unknown error");
}
