// What the dialogs are handed: filter form, buffer sizes and contents, flags.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "mDialogInput.h"

namespace {

// A literal with embedded NULs, without its terminating one.
template <std::size_t N>
std::wstring Nuls(const wchar_t (&text)[N]) {
  return std::wstring(text, N - 1);
}

using namespace mDialogInput;

std::wstring Text(const std::vector<wchar_t>& buffer) {
  return std::wstring(buffer.begin(), buffer.end());
}

TEST(ConvertFilter, ReplacesEveryBarWithANulAndNothingElse) {
  EXPECT_EQ(ConvertFilter(L"文本 (*.txt)|*.txt|All|*.*"), Nuls(L"文本 (*.txt)\0*.txt\0All\0*.*"));
  EXPECT_EQ(ConvertFilter(L"A|*.a|"), Nuls(L"A\0*.a\0"));
  EXPECT_EQ(ConvertFilter(L"||"), std::wstring(2, L'\0'));
  EXPECT_EQ(ConvertFilter(L"no bars"), L"no bars");
  EXPECT_EQ(ConvertFilter(L""), L"");
}

TEST(PlatformText, AFilterEndsInADoubleNulWithOrWithoutAFinalBar) {
  for (const wchar_t* filter : {L"Text|*.txt", L"Text|*.txt|"}) {
    const auto copy = PlatformText(ConvertFilter(filter));
    const std::wstring text = Text(copy);
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(text.substr(text.size() - 2), std::wstring(2, L'\0')) << filter;
    EXPECT_EQ(text.substr(0, 10), Nuls(L"Text\0*.txt")) << filter;
  }
  EXPECT_EQ(Text(PlatformText(L"")), std::wstring(2, L'\0'));
}

TEST(EffectiveMaxFile, ReadsTwoHundredSixtyWhileZeroOrLess) {
  const std::pair<std::int32_t, std::int32_t> cases[] = {{0, 260}, {-1, 260},  {INT_MIN, 260},
                                                         {1, 1},   {259, 259}, {1000, 1000}};
  for (auto [stored, read] : cases) EXPECT_EQ(EffectiveMaxFile(stored), read) << stored;
}

TEST(FileBuffers, OpenStartsEmptyAndSaveStartsWithTheName) {
  EXPECT_EQ(Text(OpenFileBuffer(0)), std::wstring(260, L'\0'));
  EXPECT_EQ(Text(OpenFileBuffer(1000)), std::wstring(1000, L'\0'));
  EXPECT_EQ(Text(OpenFileBuffer(-5)), std::wstring(260, L'\0'));

  EXPECT_EQ(Text(SaveFileBuffer(L"", 0)), std::wstring(260, L'\0'));
  std::wstring expected = L"C:\\备份.txt";
  expected.resize(20, L'\0');
  EXPECT_EQ(Text(SaveFileBuffer(L"C:\\备份.txt", 20)), expected);
}

TEST(FileBuffers, SaveAlwaysHoldsTheNameAndItsNul) {
  for (std::size_t length : {9u, 10u, 11u, 300u}) {
    const std::wstring name(length, L'n');
    const auto buffer = SaveFileBuffer(name, 10);
    EXPECT_EQ(buffer.size(), std::max<std::size_t>(10, length + 1)) << length;
    EXPECT_EQ(Text(buffer).substr(0, length), name) << length;
    EXPECT_EQ(buffer[length], L'\0') << length;
  }
}

TEST(Flags, ZeroSelectsTheDefaultAndAnythingElseReplacesIt) {
  EXPECT_EQ(OpenFlags(0), 0x1004);
  EXPECT_EQ(SaveFlags(0), 0x6);
  for (std::int32_t stored : {0x80200, 0x200, 0x1, -1}) {
    EXPECT_EQ(OpenFlags(stored), stored);
    EXPECT_EQ(SaveFlags(stored), stored);
  }
  EXPECT_FALSE(ParsesAsMultiSelection(0));
  EXPECT_TRUE(ParsesAsMultiSelection(0x80200));
  EXPECT_FALSE(ParsesAsMultiSelection(0x80000));
}

}  // namespace
