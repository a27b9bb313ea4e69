#pragma once
// Conversions between the program's wide text and UTF-8 (for POSIX paths and exception messages).
#include <string>
#include <string_view>

namespace mText {

// wchar_t is UTF-16 on Windows and UTF-32 elsewhere; both directions handle either.
// Unpaired surrogates and invalid UTF-8 become U+FFFD.
std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view text);

}  // namespace mText
