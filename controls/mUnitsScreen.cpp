// The screen's scale for the twips conversion.
#include <windows.h>

#include "cWindowDc.h"
#include "mUnits.h"

namespace mUnits {

namespace {

std::int32_t ScreenCaps(int index) {
  const cWindowDc screen(nullptr, L"read the screen's pixels per inch");
  return GetDeviceCaps(screen.Get(), index);
}

}  // namespace

std::int32_t LogicalPixelsPerInchX() { return ScreenCaps(LOGPIXELSX); }
std::int32_t LogicalPixelsPerInchY() { return ScreenCaps(LOGPIXELSY); }
std::int32_t TwipsToPixelsX(std::int64_t twips) {
  return TwipsToPixels(twips, LogicalPixelsPerInchX());
}
std::int32_t TwipsToPixelsY(std::int64_t twips) {
  return TwipsToPixels(twips, LogicalPixelsPerInchY());
}

}  // namespace mUnits
