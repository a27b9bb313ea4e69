// The twips conversion: exact scale, rounding half to even, and its two errors.
#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

#include "mUnits.h"

namespace {

using mUnits::TwipsToPixels;

TEST(mUnits, ConvertsTheBackupWindowLayoutAtCommonScales) {
  struct Case {
    std::int64_t twips;
    std::int32_t dpi;
    std::int32_t pixels;
  };
  const Case cases[] = {
      {5535, 96, 369}, {3975, 96, 265}, {3660, 96, 244}, {405, 96, 27},  {2595, 96, 173},
      {6435, 96, 429}, {7650, 96, 510}, {5535, 120, 461}, {5535, 144, 554}, {5535, 192, 738},
      // 168 dpi: 5535 * 168 / 1440 = 645.75; 255 * 168 / 1440 = 29.75
      {5535, 168, 646}, {255, 168, 30},  {0, 96, 0},       {-15, 96, -1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TwipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << " twips at " << c.dpi;
}

TEST(mUnits, RoundsExactHalvesToTheEvenNeighbour) {
  // At 96 dpi a pixel is 15 twips, so n * 15 + 7.5 cannot occur; at 192 dpi it is 7.5 twips.
  EXPECT_EQ(TwipsToPixels(15, 192), 2);    // 2.0
  EXPECT_EQ(TwipsToPixels(30, 96), 2);     // 2.0
  EXPECT_EQ(TwipsToPixels(6, 120), 0);     // 0.5 -> 0
  EXPECT_EQ(TwipsToPixels(18, 120), 2);    // 1.5 -> 2
  EXPECT_EQ(TwipsToPixels(30, 120), 2);    // 2.5 -> 2
  EXPECT_EQ(TwipsToPixels(42, 120), 4);    // 3.5 -> 4
  EXPECT_EQ(TwipsToPixels(-6, 120), 0);    // -0.5 -> 0
  EXPECT_EQ(TwipsToPixels(-18, 120), -2);  // -1.5 -> -2
  EXPECT_EQ(TwipsToPixels(-30, 120), -2);  // -2.5 -> -2
  EXPECT_EQ(TwipsToPixels(7, 96), 0);      // 0.4667
  EXPECT_EQ(TwipsToPixels(8, 96), 1);      // 0.5333
  EXPECT_EQ(TwipsToPixels(-8, 96), -1);
}

TEST(mUnits, FailsWithoutTwipsPerPixel) {
  EXPECT_THROW(TwipsToPixels(1440, 0), std::domain_error);
  EXPECT_THROW(TwipsToPixels(1440, -96), std::domain_error);
  EXPECT_THROW(mUnits::PixelsToTwips(10, 0), std::domain_error);
  EXPECT_THROW(mUnits::DivideRoundHalfEven(1, 0), std::domain_error);
}

TEST(mUnits, FailsOutsideTheSignedThirtyTwoBitRange) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
  EXPECT_EQ(TwipsToPixels(kMax * 15, 96), kMax);
  EXPECT_EQ(TwipsToPixels(kMin * 15, 96), kMin);
  EXPECT_EQ(TwipsToPixels(kMax * 15 + 7, 96), kMax) << "rounds down to the last pixel";
  EXPECT_THROW(TwipsToPixels(kMax * 15 + 8, 96), std::range_error);
  EXPECT_THROW(TwipsToPixels(kMin * 15 - 8, 96), std::range_error);
  EXPECT_THROW(TwipsToPixels(std::numeric_limits<std::int64_t>::max(), 96), std::range_error);
  EXPECT_THROW(TwipsToPixels(std::numeric_limits<std::int64_t>::min(), 96), std::range_error);
  EXPECT_THROW(TwipsToPixels(std::numeric_limits<std::int64_t>::max(),
                             std::numeric_limits<std::int32_t>::max()),
               std::range_error);
  EXPECT_EQ(TwipsToPixels(1, std::numeric_limits<std::int32_t>::max()), 1491308)
      << "2147483647 / 1440 = 1491308.09";
}

TEST(mUnits, ConvertsPixelsBackToTwips) {
  EXPECT_EQ(mUnits::PixelsToTwips(369, 96), 5535);
  EXPECT_EQ(mUnits::PixelsToTwips(1, 168), 9);  // 8.57
  EXPECT_EQ(mUnits::PixelsToTwips(-1, 168), -9);
  EXPECT_EQ(mUnits::PixelsToTwips(std::numeric_limits<std::int32_t>::min(), 1),
            std::int64_t{std::numeric_limits<std::int32_t>::min()} * 1440);
  for (std::int32_t dpi : {72, 96, 120, 144, 168, 192, 240})
    for (std::int32_t px : {0, 1, 17, 265, 369, 4000})
      EXPECT_EQ(TwipsToPixels(mUnits::PixelsToTwips(px, dpi), dpi), px) << px << " at " << dpi;
}

TEST(mUnits, DividesWithHalvesToEven) {
  EXPECT_EQ(mUnits::DivideRoundHalfEven(5, 2), 2);
  EXPECT_EQ(mUnits::DivideRoundHalfEven(7, 2), 4);
  EXPECT_EQ(mUnits::DivideRoundHalfEven(-5, 2), -2);
  EXPECT_EQ(mUnits::DivideRoundHalfEven(5, -2), -2);
  EXPECT_EQ(mUnits::DivideRoundHalfEven(-7, -2), 4);
  EXPECT_EQ(mUnits::DivideRoundHalfEven(std::numeric_limits<std::int64_t>::max(), 1),
            std::numeric_limits<std::int64_t>::max());
  EXPECT_THROW(mUnits::DivideRoundHalfEven(std::numeric_limits<std::int64_t>::min(), -1),
               std::range_error);
}

}  // namespace
