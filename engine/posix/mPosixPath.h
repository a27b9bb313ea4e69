#pragma once
// A path as the POSIX calls take it. The program writes paths with backslashes; here either
// separator is one, so that code above the file layer runs unchanged on both platforms.
#include <string>

#include "mText.h"

namespace mPosixPath {

inline std::string Native(std::wstring path) {
  for (wchar_t& c : path)
    if (c == L'\\') c = L'/';
  return mText::ToUtf8(path);
}

}  // namespace mPosixPath
