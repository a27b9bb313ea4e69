#include <gtest/gtest.h>

#include "mText.h"

namespace {

TEST(mText, RoundTripsAllPlanes) {
  const std::wstring text = L"a\u00e9\u5907\u4efd\u3042\U0001F600z";
  const std::string utf8 = mText::ToUtf8(text);
  EXPECT_EQ(utf8, "a\xc3\xa9\xe5\xa4\x87\xe4\xbb\xbd\xe3\x81\x82\xf0\x9f\x98\x80z");
  EXPECT_EQ(mText::FromUtf8(utf8), text);
}

TEST(mText, ReplacesInvalidSequences) {
  EXPECT_EQ(mText::FromUtf8("a\xff" "b"), L"a\uFFFD" L"b");
  EXPECT_EQ(mText::FromUtf8("\xe5\xa4"), L"\uFFFD");        // cut short
  EXPECT_EQ(mText::FromUtf8("\xc0\xaf"), L"\uFFFD");        // overlong
  EXPECT_EQ(mText::FromUtf8("\xed\xa0\x80"), L"\uFFFD");    // encoded surrogate
}

}  // namespace
