#include <gtest/gtest.h>

#include <limits>

#include "mProgressScale.h"

namespace {

TEST(mProgressScale, CountsBelowTwoGibibytesPassUnchanged) {
  const auto bar = mProgressScale::Scale(4194304, 10485760);
  EXPECT_EQ(bar.max, 10485760);
  EXPECT_EQ(bar.value, 4194304);
  const auto top = mProgressScale::Scale(2147483647, 2147483647);
  EXPECT_EQ(top.max, 2147483647);
  EXPECT_EQ(top.value, 2147483647);
}

TEST(mProgressScale, LargerCountsShareOneFactorAndEndFull) {
  const std::int64_t sizes[] = {2147483648LL, 2147483648LL + 4097, 5LL << 30, 1LL << 40, std::numeric_limits<std::int64_t>::max()};
  for (const std::int64_t all : sizes) {
    SCOPED_TRACE(all);
    const auto end = mProgressScale::Scale(all, all);
    EXPECT_EQ(end.value, end.max) << "a finished copy fills the bar";
    EXPECT_GT(end.max, std::numeric_limits<std::int32_t>::max() / 2) << "keeps the bar's resolution";
    const auto half = mProgressScale::Scale(all / 2, all);
    EXPECT_NEAR(static_cast<double>(half.value) / half.max, 0.5, 1e-6);
    EXPECT_EQ(mProgressScale::Scale(0, all).value, 0);
  }
}

}  // namespace
