#pragma once
// Path text helpers. The only separator known is the backslash; nothing touches the disk.
#include <string>

namespace mFileHlp {

// Everything after the last backslash (the whole text when there is none).
std::wstring GetFileName(const std::wstring& path);
// The path with one backslash appended, unless it already ends in one.
std::wstring AddBackslash(const std::wstring& path);

}  // namespace mFileHlp
