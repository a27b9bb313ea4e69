#pragma once
// Twips (1/1440 inch) to pixels, the conversion shared by the window layout and the controls.
// A pixel size is the twip size divided by the twips per pixel of its axis, 1440 divided by
// the display's logical pixels per inch (15 at 96 dots per inch). The division is exact, so
// scales such as 168 dpi, where a pixel is 8.57 twips, keep the layout in proportion.
#include <cstdint>

namespace mUnits {

inline constexpr std::int32_t kTwipsPerInch = 1440;

// numerator / denominator rounded to the nearest integer, an exact half to the even one.
// Throws std::domain_error for a zero denominator.
std::int64_t DivideRoundHalfEven(std::int64_t numerator, std::int64_t denominator);

// Pixels for a length in twips at the given logical pixels per inch, rounded half to even.
// Throws std::domain_error when logicalPixelsPerInch is not positive (no twips per pixel) and
// std::range_error when the pixel count lies outside the signed 32-bit range.
std::int32_t TwipsToPixels(std::int64_t twips, std::int32_t logicalPixelsPerInch);

// Twips for a length in pixels, the inverse scale, rounded half to even; std::domain_error
// when logicalPixelsPerInch is not positive.
std::int64_t PixelsToTwips(std::int32_t pixels, std::int32_t logicalPixelsPerInch);

#ifdef _WIN32
// The screen's logical pixels per inch (GetDeviceCaps LOGPIXELSX / LOGPIXELSY).
// Throws cPlatformError when the screen's device context cannot be had.
std::int32_t LogicalPixelsPerInchX();
std::int32_t LogicalPixelsPerInchY();
// TwipsToPixels on the horizontal and the vertical axis of the screen.
std::int32_t TwipsToPixelsX(std::int64_t twips);
std::int32_t TwipsToPixelsY(std::int64_t twips);
#endif

}  // namespace mUnits
