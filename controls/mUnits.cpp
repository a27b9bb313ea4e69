#include "mUnits.h"

#include <limits>
#include <stdexcept>

namespace mUnits {

namespace {

constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

void RequirePositiveScale(std::int32_t logicalPixelsPerInch) {
  if (logicalPixelsPerInch <= 0)
    throw std::domain_error("no twips per pixel at " + std::to_string(logicalPixelsPerInch) +
                            " logical pixels per inch");
}

// Whether quotient + rest / denominator (0 <= rest < denominator) rounds up, half to even.
bool RoundsUp(std::int64_t quotient, std::int64_t rest, std::int64_t denominator) {
  const std::int64_t above = rest - (denominator - rest);  // 2 * rest - denominator, no overflow
  return above > 0 || (above == 0 && quotient % 2 != 0);
}

// value * multiplier / divisor rounded half to even and checked against the 32-bit range,
// without an intermediate that could overflow 64 bits: the value is split into whole
// divisors and a remainder first. 0 < multiplier < 2^31, 0 < divisor < 2^31.
std::int32_t ScaleToInt32(std::int64_t value, std::int64_t multiplier, std::int64_t divisor) {
  std::int64_t wholes = value / divisor;
  std::int64_t rest = value % divisor;
  if (rest < 0) {  // floor division, so that the remainder is never negative
    rest += divisor;
    --wholes;
  }
  // Past this bound wholes * multiplier is far outside the 32-bit range, and below it the
  // product fits in 64 bits.
  constexpr std::int64_t kWholesBound = std::int64_t{1} << 32;
  if (wholes > kWholesBound || wholes < -kWholesBound)
    throw std::range_error("length out of range: " + std::to_string(value));
  const std::int64_t fraction = rest * multiplier;
  std::int64_t scaled = wholes * multiplier + fraction / divisor;
  if (RoundsUp(scaled, fraction % divisor, divisor)) ++scaled;
  if (scaled > kInt32Max || scaled < kInt32Min)
    throw std::range_error("length out of range: " + std::to_string(value));
  return static_cast<std::int32_t>(scaled);
}

}  // namespace

std::int64_t DivideRoundHalfEven(std::int64_t numerator, std::int64_t denominator) {
  if (denominator == 0) throw std::domain_error("division by zero");
  if (denominator < 0) {
    if (denominator == std::numeric_limits<std::int64_t>::min() ||
        numerator == std::numeric_limits<std::int64_t>::min())
      throw std::range_error("division out of range");
    numerator = -numerator;
    denominator = -denominator;
  }
  std::int64_t quotient = numerator / denominator;
  std::int64_t rest = numerator % denominator;
  if (rest < 0) {
    rest += denominator;
    --quotient;
  }
  if (RoundsUp(quotient, rest, denominator)) ++quotient;
  return quotient;
}

std::int32_t TwipsToPixels(std::int64_t twips, std::int32_t logicalPixelsPerInch) {
  RequirePositiveScale(logicalPixelsPerInch);
  return ScaleToInt32(twips, logicalPixelsPerInch, kTwipsPerInch);
}

std::int64_t PixelsToTwips(std::int32_t pixels, std::int32_t logicalPixelsPerInch) {
  RequirePositiveScale(logicalPixelsPerInch);
  return DivideRoundHalfEven(std::int64_t{pixels} * kTwipsPerInch, logicalPixelsPerInch);
}

}  // namespace mUnits
