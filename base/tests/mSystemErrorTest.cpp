#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "mSystemError.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#endif

namespace {

struct TextCase {
  const char* name;
  std::uint32_t code;
  const wchar_t* expected;  // null: the system's own words, whatever the language
};

#ifdef _WIN32
const TextCase kTextCases[] = {
    {"a Win32 error", ERROR_FILE_NOT_FOUND, nullptr},
    {"an HRESULT", static_cast<std::uint32_t>(E_OUTOFMEMORY), nullptr},
    {"a code the system has no text for", 0x2FFFFF0Fu, L"error 805306127"},
};
#else
const TextCase kTextCases[] = {
    {"an errno value", ENOENT, L"No such file or directory"},
};
#endif

TEST(mSystemError, TextIsOneLineWithoutFinalStop) {
  for (const TextCase& row : kTextCases) {
    SCOPED_TRACE(row.name);
    const std::wstring text = mSystemError::Text(row.code);
    if (row.expected) {
      EXPECT_EQ(text, row.expected);
      continue;
    }
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text, L"error " + std::to_wstring(row.code));
    EXPECT_EQ(text.find_first_of(L"\r\n"), std::wstring::npos);
    EXPECT_NE(text.back(), L'.');
    EXPECT_NE(text.back(), L' ');
  }
}

TEST(mSystemError, LastCodeIsTheThreadsLastError) {
#ifdef _WIN32
  SetLastError(ERROR_ACCESS_DENIED);
  EXPECT_EQ(mSystemError::LastCode(), std::uint32_t{ERROR_ACCESS_DENIED});
#else
  errno = EACCES;
  EXPECT_EQ(mSystemError::LastCode(), std::uint32_t{EACCES});
#endif
}

}  // namespace
