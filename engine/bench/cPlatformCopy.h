#pragma once
// The platform's own file copy, for comparison: CopyFileW on Windows, cp(1) elsewhere.
#include <string>

class cPlatformCopy {
 public:
  static const char* Name();
  // The copy that Copy runs: "CopyFileW" or "cp".
  static const char* Tool();
  // Copies from over to; with flush, then pushes the copy to stable storage as the engine does.
  static void Copy(const std::wstring& from, const std::wstring& to, bool flush);
};
